// The worker threads of run control. None of them touches the engine: each, on its own clock,
// hands a piece of work over to the interface thread, waits until it is done, and sleeps. So
// steps, redraws, edits and result displays never overlap and the engine needs no lock.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// Puts a callable into the interface thread's queue without waiting (the editor posts to the Qt
// event loop; tests may call it at once).
using TPostToInterface = std::function<void(std::function<void()>)>;

// Runs work on the interface thread for a worker and waits for it. At exit the interface thread
// releases every waiting worker; work still queued then is dropped.
class THandOver {
public:
    explicit THandOver(TPostToInterface post);
    // Called by a worker; false when the hand-over was released instead.
    bool Run(const std::function<void()>& work);
    // Called by the interface thread at exit.
    void Release();

private:
    struct TState;
    TPostToInterface Post;
    std::shared_ptr<TState> State;
};

// A thread that repeats a cycle and sleeps the milliseconds the cycle returns. It can be paused
// between cycles and stopped at any time, sleeping or paused.
class TWorkerThread {
public:
    using TCycle = std::function<int()>;

    TWorkerThread(TCycle cycle, bool startPaused, bool belowNormalPriority);
    ~TWorkerThread();
    TWorkerThread(const TWorkerThread&) = delete;
    TWorkerThread& operator=(const TWorkerThread&) = delete;

    void Pause();
    void Resume();
    bool IsPaused() const;
    // Ends the thread after the cycle under way and joins it.
    void Stop();

private:
    void Body();

    TCycle Cycle;
    bool BelowNormal;
    mutable std::mutex Mutex;
    std::condition_variable Wake;
    bool Paused;
    bool Stopping = false;
    std::thread Thread;
};
