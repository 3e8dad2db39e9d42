#pragma once
// A benchmark's own folder under the temporary folder: a name nobody else holds (Wine gives
// the first process of a fresh session the same process id every time, so an id-based
// name collides with what an earlier run left), removed with everything in it at the end.
#include <string>

namespace bench {

class WorkFolder {
public:
    // Fails with std::runtime_error when no folder can be made.
    WorkFolder();
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const std::string& Path() const { return path_; }
    // The folder's own name, without the path: it tells the benchmark's processes apart.
    std::string Name() const;
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

} // namespace bench
