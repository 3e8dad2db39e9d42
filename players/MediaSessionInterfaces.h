#pragma once
// The few Windows Runtime interfaces of the system's media session the program calls. The
// compiler's headers have none of Windows.Media.Control, so they are declared here by hand:
// interface IDs and method order as Microsoft's metadata publishes them. Each interface
// declares its methods only up to the last one called; the slots after it are never reached.
//
// The IDs of the generic interfaces (an asynchronous operation and its completion handler,
// made for one result type) are not in the metadata: Windows derives them from the type's
// signature by a SHA-1 name-based rule, and the tests derive them again the same way.
#include <windows.h>

#include <asyncinfo.h>
#include <inspectable.h>

#include <cstdint>

namespace mediasession {

inline constexpr wchar_t ManagerClassName[] = L"Windows.Media.Control.GlobalSystemMediaTransportControlsSessionManager";

// GlobalSystemMediaTransportControlsSessionPlaybackStatus
enum class PlaybackStatus : std::int32_t { Closed = 0, Opened = 1, Changing = 2, Stopped = 3, Playing = 4, Paused = 5 };

// Windows.Foundation.IAsyncOperation`1 and AsyncOperationCompletedHandler`1 for one result
// type: the same shapes whatever the result, so one template each serves both results.
template <typename Result>
struct IAsyncOperationOf;

template <typename Result>
struct IAsyncOperationCompletedHandlerOf : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(IAsyncOperationOf<Result>* operation, AsyncStatus status) = 0;
};

template <typename Result>
struct IAsyncOperationOf : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE put_Completed(IAsyncOperationCompletedHandlerOf<Result>* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Completed(IAsyncOperationCompletedHandlerOf<Result>** handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetResults(Result** results) = 0;
};

// IGlobalSystemMediaTransportControlsSessionMediaProperties (first four properties)
struct IMediaProperties : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Title(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Subtitle(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AlbumArtist(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Artist(HSTRING* value) = 0;
};

// IGlobalSystemMediaTransportControlsSessionPlaybackInfo (first two properties)
struct IPlaybackInfo : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Controls(IInspectable** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PlaybackStatus(PlaybackStatus* value) = 0;
};

// IGlobalSystemMediaTransportControlsSession (up to GetPlaybackInfo)
struct ISession : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_SourceAppUserModelId(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryGetMediaPropertiesAsync(IAsyncOperationOf<IMediaProperties>** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTimelineProperties(IInspectable** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPlaybackInfo(IPlaybackInfo** value) = 0;
};

// IGlobalSystemMediaTransportControlsSessionManager (GetCurrentSession only)
struct IManager : IInspectable {
    // S_OK with a null session when no player has one.
    virtual HRESULT STDMETHODCALLTYPE GetCurrentSession(ISession** session) = 0;
};

// IGlobalSystemMediaTransportControlsSessionManagerStatics
struct IManagerStatics : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE RequestAsync(IAsyncOperationOf<IManager>** operation) = 0;
};

// From the metadata: the interfaces above, and the two generic types' own IDs.
inline constexpr GUID IID_IManagerStatics =
    {0x2050c4ee, 0x11a0, 0x57de, {0xae, 0xd7, 0xc9, 0x7c, 0x70, 0x33, 0x82, 0x45}};
inline constexpr GUID IID_IManager = {0xcace8eac, 0xe86e, 0x504a, {0xab, 0x31, 0x5f, 0xf8, 0xff, 0x1b, 0xce, 0x49}};
inline constexpr GUID IID_ISession = {0x7148c835, 0x9b14, 0x5ae2, {0xab, 0x85, 0xdc, 0x9b, 0x1c, 0x14, 0xe1, 0xa8}};
inline constexpr GUID IID_IPlaybackInfo =
    {0x94b4b6cf, 0xe8ba, 0x51ad, {0x87, 0xa7, 0xc1, 0x0a, 0xde, 0x10, 0x61, 0x27}};
inline constexpr GUID IID_IMediaProperties =
    {0x68856cf6, 0xadb4, 0x54b2, {0xac, 0x16, 0x05, 0x83, 0x79, 0x07, 0xac, 0xb6}};
inline constexpr GUID IID_IAsyncOperationGeneric =
    {0x9fc2b0bb, 0xe446, 0x44e2, {0xaa, 0x61, 0x9c, 0xab, 0x8f, 0x63, 0x6a, 0xf2}};
inline constexpr GUID IID_IAsyncOperationCompletedHandlerGeneric =
    {0xfcdcf02c, 0xe5d8, 0x4478, {0x91, 0x5a, 0x4d, 0x90, 0xb7, 0x4b, 0x83, 0xa5}};

// Derived: IAsyncOperation<GlobalSystemMediaTransportControlsSessionManager>, its handler,
// and the same two for ...SessionMediaProperties.
inline constexpr GUID IID_IAsyncOperationOfManager =
    {0x3eec115e, 0x7346, 0x5c27, {0x8c, 0x5f, 0xda, 0x78, 0x51, 0x4a, 0x27, 0x7b}};
inline constexpr GUID IID_IAsyncOperationCompletedHandlerOfManager =
    {0x10f0074e, 0x923d, 0x5510, {0x8f, 0x4a, 0xdd, 0xe3, 0x77, 0x54, 0xca, 0x0e}};
inline constexpr GUID IID_IAsyncOperationOfMediaProperties =
    {0xb185e6f3, 0xe0d8, 0x51cb, {0x91, 0x3f, 0xc9, 0x8d, 0x48, 0xc9, 0x3c, 0x46}};
inline constexpr GUID IID_IAsyncOperationCompletedHandlerOfMediaProperties =
    {0x84593a3d, 0x951a, 0x55b6, {0x83, 0x53, 0x52, 0x05, 0xe5, 0x77, 0x79, 0x7b}};

// The ID of each generic interface for its result type.
template <typename Result>
struct GenericIds;
template <>
struct GenericIds<IManager> {
    static constexpr const GUID& Operation = IID_IAsyncOperationOfManager;
    static constexpr const GUID& Handler = IID_IAsyncOperationCompletedHandlerOfManager;
};
template <>
struct GenericIds<IMediaProperties> {
    static constexpr const GUID& Operation = IID_IAsyncOperationOfMediaProperties;
    static constexpr const GUID& Handler = IID_IAsyncOperationCompletedHandlerOfMediaProperties;
};

} // namespace mediasession
