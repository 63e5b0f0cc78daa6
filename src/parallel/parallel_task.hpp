#pragma once

#include <SFML/System/Time.hpp>

#include <functional>
#include <mutex>
#include <thread>

namespace parallel {

// One second of background work whose progress the main thread may poll.
class ParallelTask {
public:
    // A running time, read by both threads: the real clock unless a test steps one by hand.
    using Clock = std::function<sf::Time()>;

    explicit ParallelTask(Clock clock = {});
    ~ParallelTask();
    ParallelTask(const ParallelTask&) = delete;
    ParallelTask& operator=(const ParallelTask&) = delete;

    void Execute();
    bool IsFinished();
    // Seconds since Execute; passes 1 shortly before IsFinished turns true.
    float GetCompletion();

private:
    void RunTask();
    // The time since Execute; the caller holds the mutex.
    sf::Time Elapsed() const;

    std::thread thread;
    bool finished = false;
    Clock clock;
    sf::Time started;
    std::mutex mutex;
};

}  // namespace parallel
