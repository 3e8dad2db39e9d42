#include "players/MediaSession.h"

#include "players/MediaSessionReader.h"

#include <atomic>
#include <mutex>
#include <utility>

namespace {

// How long the end of the program waits for a worker caught inside a call of the system's
// that never returns; the process's end then takes it with everything else.
constexpr DWORD WorkerEndWaitMs = 5000;

HANDLE NewEvent(bool manualReset) noexcept
{
    return CreateEventA(nullptr, manualReset, FALSE, nullptr);
}

} // namespace

// What the caller and the worker share. Held by both, so that a worker the program could not
// wait for never touches freed memory.
struct MediaSession::Exchange {
    base::KernelHandle question{NewEvent(false)};
    base::KernelHandle answered{NewEvent(true)};
    base::KernelHandle stop{NewEvent(true)};
    std::atomic<bool> unusable{!question || !answered || !stop};
    std::atomic<DWORD> timeoutMs{0};
    std::mutex lock;
    std::optional<PlayingSong> answer; // under lock
};

MediaSession::MediaSession() : exchange_(std::make_shared<Exchange>()) {}

MediaSession::~MediaSession()
{
    if (!worker_)
        return;
    SetEvent(exchange_->stop.Get()); // cannot fail on an event the exchange owns
    WaitForSingleObject(worker_.Get(), WorkerEndWaitMs);
}

std::optional<PlayingSong> MediaSession::Ask(DWORD timeoutMs)
{
    Exchange& exchange = *exchange_;
    if (exchange.unusable)
        return std::nullopt;
    if (!worker_) {
        auto* shared = new std::shared_ptr<Exchange>(exchange_);
        worker_.Reset(CreateThread(nullptr, 0, &MediaSession::Work, shared, 0, nullptr));
        if (!worker_) {
            delete shared;
            exchange.unusable = true;
            return std::nullopt;
        }
    }
    // The last question is still being answered: the session hangs, and waiting again
    // would only hold the caller once more.
    if (questionOpen_ && WaitForSingleObject(exchange.answered.Get(), 0) != WAIT_OBJECT_0)
        return std::nullopt;

    ResetEvent(exchange.answered.Get());
    exchange.timeoutMs = timeoutMs;
    SetEvent(exchange.question.Get());
    questionOpen_ = true;
    if (WaitForSingleObject(exchange.answered.Get(), timeoutMs) != WAIT_OBJECT_0)
        return std::nullopt;
    questionOpen_ = false;
    const std::lock_guard<std::mutex> guard(exchange.lock);
    return exchange.answer;
}

DWORD WINAPI MediaSession::Work(void* shared)
{
    const std::shared_ptr<Exchange> exchange = *static_cast<std::shared_ptr<Exchange>*>(shared);
    delete static_cast<std::shared_ptr<Exchange>*>(shared);

    MediaSessionReader reader;
    if (!reader.Usable()) {
        exchange->unusable = true;
        SetEvent(exchange->answered.Get());
        return 0;
    }
    const HANDLE events[] = {exchange->stop.Get(), exchange->question.Get()};
    while (WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        std::optional<PlayingSong> answer = reader.Read(exchange->stop.Get(), exchange->timeoutMs);
        {
            const std::lock_guard<std::mutex> guard(exchange->lock);
            exchange->answer = std::move(answer);
        }
        SetEvent(exchange->answered.Get());
    }
    return 0;
}
