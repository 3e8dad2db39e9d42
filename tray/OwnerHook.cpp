#include "tray/OwnerHook.h"

#include "toolkit/Application.h"
#include "base/SystemError.h"

#include <algorithm>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

namespace tray {

// The hooks of one window and the procedure they replaced.
struct OwnerHookChain {
    WNDPROC saved = nullptr;
    std::vector<OwnerHook*> hooks;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

namespace {

// The hooked windows of the process.
std::map<HWND, std::shared_ptr<OwnerHookChain>>& Chains()
{
    static std::map<HWND, std::shared_ptr<OwnerHookChain>> chains;
    return chains;
}

// Puts the saved procedure back when ours is still the window's, and forgets the window.
// When another procedure was put on top of ours since, ours stays in its chain and keeps
// passing messages on.
void Unhook(HWND window, const std::shared_ptr<OwnerHookChain>& chain) noexcept
{
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    if (current != &OwnerHookChain::Procedure && IsWindow(window))
        return;
    // Fails only for a window already gone, whose procedure no longer matters.
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->saved));
    Chains().erase(window);
}

} // namespace

LRESULT CALLBACK OwnerHookChain::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto found = Chains().find(window);
    if (found == Chains().end())
        return DefWindowProcA(window, message, wParam, lParam);
    // Hooks may go while they run (a handler may destroy its component): keep the chain
    // alive and skip hooks removed on the way.
    const std::shared_ptr<OwnerHookChain> chain = found->second;
    const std::vector<OwnerHook*> hooks = chain->hooks;
    for (OwnerHook* hook : hooks) {
        if (std::find(chain->hooks.begin(), chain->hooks.end(), hook) == chain->hooks.end())
            continue;
        try {
            const OwnerHook::Handler handler = hook->handler_;
            if (const std::optional<LRESULT> answer = handler(message, wParam, lParam))
                return *answer;
        } catch (...) {
            toolkit::Application::Instance().HandleException(std::current_exception());
        }
    }
    const LRESULT result = CallWindowProcA(chain->saved, window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        for (OwnerHook* hook : chain->hooks)
            hook->window_ = nullptr;
        chain->hooks.clear();
        Unhook(window, chain);
    }
    return result;
}

OwnerHook::OwnerHook(HWND window, Handler handler) : window_(window), handler_(std::move(handler))
{
    auto& chains = Chains();
    auto found = chains.find(window);
    if (found == chains.end()) {
        auto chain = std::make_shared<OwnerHookChain>();
        SetLastError(0);
        chain->saved = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnerHookChain::Procedure)));
        if (!chain->saved) {
            const DWORD error = GetLastError();
            throw std::runtime_error(base::SystemErrorText(error ? error : ERROR_INVALID_WINDOW_HANDLE));
        }
        found = chains.emplace(window, std::move(chain)).first;
    }
    found->second->hooks.push_back(this);
}

OwnerHook::~OwnerHook()
{
    if (!window_)
        return;
    const auto found = Chains().find(window_);
    if (found == Chains().end())
        return;
    const std::shared_ptr<OwnerHookChain> chain = found->second;
    std::erase(chain->hooks, this);
    if (chain->hooks.empty())
        Unhook(window_, chain);
}

} // namespace tray
