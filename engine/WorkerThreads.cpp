#include "WorkerThreads.h"

#include <chrono>
#include <sys/resource.h>
#include <unistd.h>

struct THandOver::TState {
    std::mutex Mutex;
    std::condition_variable Done;
    bool Released = false;
};

THandOver::THandOver(TPostToInterface post)
    : Post(std::move(post)), State(std::make_shared<TState>()) {}

bool THandOver::Run(const std::function<void()>& work) {
    auto state = State;
    auto finished = std::make_shared<bool>(false);
    {
        std::lock_guard lock(state->Mutex);
        if (state->Released)
            return false;
    }
    Post([state, finished, work] {
        {
            std::lock_guard lock(state->Mutex);
            if (state->Released)
                return;
        }
        work();
        std::lock_guard lock(state->Mutex);
        *finished = true;
        state->Done.notify_all();
    });
    std::unique_lock lock(state->Mutex);
    state->Done.wait(lock, [&] { return *finished || state->Released; });
    return *finished;
}

void THandOver::Release() {
    std::lock_guard lock(State->Mutex);
    State->Released = true;
    State->Done.notify_all();
}

TWorkerThread::TWorkerThread(TCycle cycle, bool startPaused, bool belowNormalPriority)
    : Cycle(std::move(cycle)), BelowNormal(belowNormalPriority), Paused(startPaused),
      Thread([this] { Body(); }) {}

TWorkerThread::~TWorkerThread() {
    Stop();
}

void TWorkerThread::Pause() {
    std::lock_guard lock(Mutex);
    Paused = true;
}

void TWorkerThread::Resume() {
    std::lock_guard lock(Mutex);
    Paused = false;
    Wake.notify_all();
}

bool TWorkerThread::IsPaused() const {
    std::lock_guard lock(Mutex);
    return Paused;
}

void TWorkerThread::Stop() {
    {
        std::lock_guard lock(Mutex);
        Stopping = true;
        Wake.notify_all();
    }
    if (Thread.joinable())
        Thread.join();
}

void TWorkerThread::Body() {
    if (BelowNormal)
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 1); // one step below normal
    for (;;) {
        {
            std::unique_lock lock(Mutex);
            Wake.wait(lock, [this] { return Stopping || !Paused; });
            if (Stopping)
                return;
        }
        const int sleep = Cycle();
        std::unique_lock lock(Mutex);
        Wake.wait_for(lock, std::chrono::milliseconds(sleep), [this] { return Stopping; });
        if (Stopping)
            return;
    }
}
