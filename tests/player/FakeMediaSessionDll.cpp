// A stand-in for the system's media session, for tests: a DLL exporting
// DllGetActivationFactory, which Wine loads for the class
// Windows.Media.Control.GlobalSystemMediaTransportControlsSessionManager when the class's
// key under HKLM\Software\Microsoft\WindowsRuntime\ActivatableClassId names it in "DllPath".
// Every object answers only the interface IDs the program must use, so a wrong ID or a
// wrong method slot fails the test instead of passing unnoticed.
//
// What it answers is read afresh at each call from values of that same key (REG_SZ):
//   "Answer"  "playing", "paused", "no session" (no current session), or "never completes"
//             (the request for the session manager never completes, as a hung system's);
//   "AppId"   the session's application id; "Artist", "Title" the song's properties.
#include "players/MediaSessionInterfaces.h"
#include "tests/player/FakeMediaSessionRegistration.h"

#include <activation.h>
#include <winstring.h>
#include <wrl/client.h>

#include <atomic>
#include <string>

using Microsoft::WRL::ComPtr;
using namespace mediasession;

namespace {

std::string Setting(const char* name)
{
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, FakeMediaSessionKey, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return {};
    return value;
}

// A new string for the caller, who releases it; the caller has loaded combase already.
HRESULT NewString(const std::string& text, HSTRING* result)
{
    using CreateFn = HRESULT(WINAPI*)(LPCWSTR, UINT32, HSTRING*);
    const auto create = reinterpret_cast<CreateFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("combase.dll"), "WindowsCreateString")));
    if (!result || !create)
        return E_FAIL;
    std::wstring wide(text.size(), L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                           static_cast<int>(wide.size()));
    return create(wide.data(), static_cast<UINT32>(length), result);
}

// Reference counting and IInspectable for an object answering the given interface IDs.
template <typename Interface>
class Object : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = Find(id);
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetIids(ULONG*, IID**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel* level) override
    {
        *level = BaseTrust;
        return S_OK;
    }

protected:
    virtual ~Object() = default;
    // The object's own interface for an ID it answers, else null.
    virtual void* Find(REFIID id)
    {
        return id == __uuidof(IUnknown) || id == __uuidof(IInspectable) ? static_cast<Interface*>(this) : nullptr;
    }

private:
    std::atomic<ULONG> references_{1};
};

// Completes at once with its result, or never when it has none. It offers no IAsyncInfo, as
// an operation need not: the program's cancelling of an unanswered call is only a courtesy.
template <typename Result>
class Operation final : public Object<IAsyncOperationOf<Result>> {
public:
    explicit Operation(ComPtr<Result> result) : result_(std::move(result)) {}

    HRESULT STDMETHODCALLTYPE put_Completed(IAsyncOperationCompletedHandlerOf<Result>* handler) override
    {
        // The handler must be the one for this result type, as the system's marshalling asks.
        if (!handler || FAILED(handler->QueryInterface(GenericIds<Result>::Handler, &handler_)))
            return E_INVALIDARG;
        if (result_)
            handler_->Invoke(this, Completed);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Completed(IAsyncOperationCompletedHandlerOf<Result>** handler) override
    {
        return handler_.CopyTo(handler);
    }
    HRESULT STDMETHODCALLTYPE GetResults(Result** results) override
    {
        return result_ ? result_.CopyTo(results) : E_UNEXPECTED; // not completed
    }

private:
    void* Find(REFIID id) override
    {
        return id == GenericIds<Result>::Operation ? this : Object<IAsyncOperationOf<Result>>::Find(id);
    }

    ComPtr<Result> result_;
    ComPtr<IAsyncOperationCompletedHandlerOf<Result>> handler_;
};

class MediaProperties final : public Object<IMediaProperties> {
public:
    HRESULT STDMETHODCALLTYPE get_Title(HSTRING* value) override { return NewString(Setting("Title"), value); }
    HRESULT STDMETHODCALLTYPE get_Subtitle(HSTRING* value) override { return NewString("Subtitle", value); }
    HRESULT STDMETHODCALLTYPE get_AlbumArtist(HSTRING* value) override { return NewString("Album artist", value); }
    HRESULT STDMETHODCALLTYPE get_Artist(HSTRING* value) override { return NewString(Setting("Artist"), value); }

private:
    void* Find(REFIID id) override { return id == IID_IMediaProperties ? this : Object::Find(id); }
};

class PlaybackInfo final : public Object<IPlaybackInfo> {
public:
    HRESULT STDMETHODCALLTYPE get_Controls(IInspectable**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_PlaybackStatus(PlaybackStatus* value) override
    {
        *value = Setting("Answer") == "playing" ? PlaybackStatus::Playing : PlaybackStatus::Paused;
        return S_OK;
    }

private:
    void* Find(REFIID id) override { return id == IID_IPlaybackInfo ? this : Object::Find(id); }
};

class Session final : public Object<ISession> {
public:
    HRESULT STDMETHODCALLTYPE get_SourceAppUserModelId(HSTRING* value) override
    {
        return NewString(Setting("AppId"), value);
    }
    HRESULT STDMETHODCALLTYPE TryGetMediaPropertiesAsync(IAsyncOperationOf<IMediaProperties>** operation) override
    {
        ComPtr<IMediaProperties> properties;
        properties.Attach(new MediaProperties);
        *operation = new Operation<IMediaProperties>(properties);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTimelineProperties(IInspectable**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPlaybackInfo(IPlaybackInfo** value) override
    {
        *value = new PlaybackInfo;
        return S_OK;
    }

private:
    void* Find(REFIID id) override { return id == IID_ISession ? this : Object::Find(id); }
};

class Manager final : public Object<IManager> {
public:
    HRESULT STDMETHODCALLTYPE GetCurrentSession(ISession** session) override
    {
        *session = Setting("Answer") == "no session" ? nullptr : new Session;
        return S_OK;
    }

private:
    void* Find(REFIID id) override { return id == IID_IManager ? this : Object::Find(id); }
};

class Factory final : public Object<IActivationFactory>, public IManagerStatics {
public:
    HRESULT STDMETHODCALLTYPE ActivateInstance(IInspectable**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RequestAsync(IAsyncOperationOf<IManager>** operation) override
    {
        ComPtr<IManager> manager;
        if (Setting("Answer") != "never completes")
            manager.Attach(new Manager);
        *operation = new Operation<IManager>(manager);
        return S_OK;
    }

    ULONG STDMETHODCALLTYPE AddRef() override { return Object::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return Object::Release(); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        return Object::QueryInterface(id, object);
    }
    HRESULT STDMETHODCALLTYPE GetIids(ULONG*, IID**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel* level) override { return Object::GetTrustLevel(level); }

private:
    void* Find(REFIID id) override
    {
        if (id == IID_IManagerStatics)
            return static_cast<IManagerStatics*>(this);
        if (id == __uuidof(IActivationFactory))
            return static_cast<IActivationFactory*>(this);
        return Object::Find(id);
    }
};

} // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI DllGetActivationFactory(HSTRING, IActivationFactory** factory)
{
    if (!factory)
        return E_POINTER;
    *factory = new Factory;
    return S_OK;
}
