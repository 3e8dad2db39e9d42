#include "tray/OwnerHook.h"

#include "toolkit/Application.h"
#include "toolkit/WindowSubclass.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace tray {

// The hooks of one window and the subclass that brings them its messages.
struct OwnerHookChain {
    toolkit::WindowSubclass subclass;
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

// Takes our procedure out of the window and forgets the window. When another procedure was
// put on top of ours since, ours stays in its chain and keeps passing messages on.
void Unhook(HWND window, OwnerHookChain& chain) noexcept
{
    if (chain.subclass.Remove())
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
    const LRESULT result = chain->subclass.PassOn(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        for (OwnerHook* hook : chain->hooks)
            hook->window_ = nullptr;
        chain->hooks.clear();
        Unhook(window, *chain);
    }
    return result;
}

OwnerHook::OwnerHook(HWND window, Handler handler) : window_(window), handler_(std::move(handler))
{
    auto& chains = Chains();
    auto found = chains.find(window);
    if (found == chains.end()) {
        auto chain = std::make_shared<OwnerHookChain>();
        chain->subclass = toolkit::WindowSubclass(window, &OwnerHookChain::Procedure);
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
        Unhook(window_, *chain);
}

} // namespace tray
