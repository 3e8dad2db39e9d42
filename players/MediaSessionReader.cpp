#include "players/MediaSessionReader.h"
#include "base/PathParts.h"

#include "base/AsciiText.h"
#include "players/MediaSessionInterfaces.h"

#include <roapi.h>
#include <winstring.h>
#include <wrl/client.h>

#include <atomic>
#include <iterator>
#include <string_view>

using Microsoft::WRL::ComPtr;
using namespace mediasession;

namespace {

constexpr std::string_view ExeTail = ".exe";

// combase's entries, found by name so that nothing is imported from a DLL older systems lack.
using RoInitializeFn = HRESULT(WINAPI*)(RO_INIT_TYPE);
using RoUninitializeFn = void(WINAPI*)();
using RoGetActivationFactoryFn = HRESULT(WINAPI*)(HSTRING, REFIID, void**);
using WindowsCreateStringFn = HRESULT(WINAPI*)(LPCWSTR, UINT32, HSTRING*);
using WindowsDeleteStringFn = HRESULT(WINAPI*)(HSTRING);
using WindowsGetStringRawBufferFn = PCWSTR(WINAPI*)(HSTRING, UINT32*);

template <typename Function>
Function Entry(HMODULE module, const char* name) noexcept
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The text in the ANSI code page (a character it lacks becomes its default character), or
// in UTF-8 for the song, which goes whole into a signature file that can hold it.
std::string Narrow(const wchar_t* text, UINT32 length, UINT codePage)
{
    if (length == 0)
        return {};
    const int size = WideCharToMultiByte(codePage, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string narrow(static_cast<std::size_t>(size), '\0');
    // Cannot fail where measuring the same text has just succeeded.
    WideCharToMultiByte(codePage, 0, text, static_cast<int>(length), narrow.data(), size, nullptr, nullptr);
    return narrow;
}

// Sets an event when the operation it is given to completes, on whatever thread that is.
template <typename Result>
class CompletionSignal final : public IAsyncOperationCompletedHandlerOf<Result> {
public:
    CompletionSignal() : done_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

    HANDLE Done() const noexcept { return done_; }
    AsyncStatus Status() const noexcept { return status_.load(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (!object)
            return E_POINTER;
        // Agile: the operation may call it from any thread without marshalling.
        if (id == __uuidof(IUnknown) || id == __uuidof(IAgileObject) || id == GenericIds<Result>::Handler) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE Invoke(IAsyncOperationOf<Result>*, AsyncStatus status) override
    {
        status_ = status;
        SetEvent(done_); // cannot fail on an event this object owns
        return S_OK;
    }

private:
    ~CompletionSignal()
    {
        if (done_)
            CloseHandle(done_);
    }

    HANDLE done_;
    std::atomic<AsyncStatus> status_{Started};
    std::atomic<ULONG> references_{1};
};

// The operation's result once it completes; null when it fails, is cancelled, or has not
// completed by the deadline or the stop event, in which case it is cancelled.
template <typename Result>
ComPtr<Result> Await(IAsyncOperationOf<Result>* operation, HANDLE stop, ULONGLONG deadline)
{
    ComPtr<CompletionSignal<Result>> signal;
    signal.Attach(new CompletionSignal<Result>);
    if (!signal->Done() || FAILED(operation->put_Completed(signal.Get())))
        return nullptr;
    const ULONGLONG now = GetTickCount64();
    const HANDLE events[] = {signal->Done(), stop};
    const DWORD left = deadline > now ? static_cast<DWORD>(deadline - now) : 0;
    const DWORD woke = WaitForMultipleObjects(2, events, FALSE, left);
    if (woke != WAIT_OBJECT_0) {
        ComPtr<IAsyncInfo> info;
        // An operation that cannot be cancelled ends on its own; its late answer finds the
        // signal, which it holds, and nobody waiting.
        if (SUCCEEDED(operation->QueryInterface(__uuidof(IAsyncInfo), &info)))
            info->Cancel();
        return nullptr;
    }
    ComPtr<Result> result;
    if (signal->Status() != Completed || FAILED(operation->GetResults(&result)))
        return nullptr;
    return result;
}

} // namespace

struct MediaSessionReader::Runtime {
    HMODULE combase = nullptr;
    bool initialized = false;
    RoUninitializeFn roUninitialize = nullptr;
    WindowsDeleteStringFn deleteString = nullptr;
    WindowsGetStringRawBufferFn stringBuffer = nullptr;
    ComPtr<IManagerStatics> statics;
    ComPtr<IManager> manager; // asked for once, then kept for the run

    Runtime()
    {
        // Only from the system's folder: a combase.dll beside the program must not be loaded.
        combase = LoadLibraryExA("combase.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!combase)
            return;
        const auto roInitialize = Entry<RoInitializeFn>(combase, "RoInitialize");
        const auto getFactory = Entry<RoGetActivationFactoryFn>(combase, "RoGetActivationFactory");
        const auto createString = Entry<WindowsCreateStringFn>(combase, "WindowsCreateString");
        roUninitialize = Entry<RoUninitializeFn>(combase, "RoUninitialize");
        deleteString = Entry<WindowsDeleteStringFn>(combase, "WindowsDeleteString");
        stringBuffer = Entry<WindowsGetStringRawBufferFn>(combase, "WindowsGetStringRawBuffer");
        if (!roInitialize || !getFactory || !createString || !roUninitialize || !deleteString || !stringBuffer)
            return;
        if (FAILED(roInitialize(RO_INIT_MULTITHREADED)))
            return;
        initialized = true;
        HSTRING className = nullptr;
        if (FAILED(createString(ManagerClassName, static_cast<UINT32>(std::size(ManagerClassName) - 1), &className)))
            return;
        // Fails with "class not registered" where the system has no media session.
        getFactory(className, IID_IManagerStatics, &statics);
        deleteString(className);
    }

    ~Runtime()
    {
        // Every object goes before the apartment, and the apartment before combase.
        manager.Reset();
        statics.Reset();
        if (initialized)
            roUninitialize();
        if (combase)
            FreeLibrary(combase);
    }

    // The string's text in the code page (CP_ACP, CP_UTF8); the string is released.
    std::string Take(HSTRING text, UINT codePage) const
    {
        if (!text)
            return {};
        UINT32 length = 0;
        const wchar_t* buffer = stringBuffer(text, &length);
        std::string narrow = buffer ? Narrow(buffer, length, codePage) : std::string();
        deleteString(text);
        return narrow;
    }
};

MediaSessionReader::MediaSessionReader() : runtime_(std::make_unique<Runtime>()) {}

MediaSessionReader::~MediaSessionReader() = default;

bool MediaSessionReader::Usable() const noexcept
{
    return runtime_->statics != nullptr;
}

std::optional<PlayingSong> MediaSessionReader::Read(HANDLE stop, DWORD timeoutMs)
{
    if (!Usable())
        return std::nullopt;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    if (!runtime_->manager) {
        ComPtr<IAsyncOperationOf<IManager>> request;
        if (FAILED(runtime_->statics->RequestAsync(&request)) || !request)
            return std::nullopt;
        runtime_->manager = Await(request.Get(), stop, deadline);
        if (!runtime_->manager)
            return std::nullopt;
    }

    ComPtr<ISession> session;
    if (FAILED(runtime_->manager->GetCurrentSession(&session)) || !session)
        return std::nullopt;
    ComPtr<IPlaybackInfo> playback;
    PlaybackStatus status = PlaybackStatus::Closed;
    if (FAILED(session->GetPlaybackInfo(&playback)) || !playback || FAILED(playback->get_PlaybackStatus(&status)) ||
        status != PlaybackStatus::Playing)
        return std::nullopt;

    ComPtr<IAsyncOperationOf<IMediaProperties>> propertiesRequest;
    if (FAILED(session->TryGetMediaPropertiesAsync(&propertiesRequest)) || !propertiesRequest)
        return std::nullopt;
    const ComPtr<IMediaProperties> properties = Await(propertiesRequest.Get(), stop, deadline);
    if (!properties)
        return std::nullopt;
    // A property that cannot be read counts as empty.
    HSTRING title = nullptr;
    HSTRING artist = nullptr;
    HSTRING appId = nullptr;
    if (FAILED(properties->get_Title(&title)))
        title = nullptr;
    if (FAILED(properties->get_Artist(&artist)))
        artist = nullptr;
    if (FAILED(session->get_SourceAppUserModelId(&appId)))
        appId = nullptr;
    const std::optional<std::string> song = SongOf(runtime_->Take(artist, CP_UTF8), runtime_->Take(title, CP_UTF8));
    const std::string player = PlayerNameOfApp(runtime_->Take(appId, CP_ACP));
    if (!song)
        return std::nullopt;
    return PlayingSong{player, *song};
}

std::string PlayerNameOfApp(const std::string& appId)
{
    const std::string name(base::FileNamePart(appId));
    if (name.size() > ExeTail.size() &&
        base::AsciiEqualNoCase(std::string_view(name).substr(name.size() - ExeTail.size()), ExeTail))
        return name.substr(0, name.size() - ExeTail.size());
    return "Media player";
}

std::optional<std::string> SongOf(const std::string& artist, const std::string& title)
{
    if (title.empty())
        return std::nullopt;
    if (artist.empty())
        return title;
    return artist + " - " + title;
}
