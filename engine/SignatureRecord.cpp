#include "engine/SignatureRecord.h"

#include "base/ByteSearch.h"

#include <algorithm>
#include <cstring>

std::string TextOfRecord(const SignatureRecord& record)
{
    const std::string_view text(record.data() + 1, SignatureTextCapacity);
    return std::string(text.substr(0, base::FindByte(text, '\0')));
}

std::string RecordText(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    return text;
}

void FillRecord(SignatureRecord& record, const std::vector<std::string>& lines)
{
    std::string text = RecordText(lines);
    text += '\0';
    const std::size_t length = std::min(text.size(), SignatureTextCapacity);
    std::copy_n(text.data(), length, record.data() + 1);
}
