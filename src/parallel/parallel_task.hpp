#pragma once

#include <SFML/System/Clock.hpp>

#include <mutex>
#include <thread>

namespace parallel {

// One second of background work whose progress the main thread may poll.
class ParallelTask {
public:
    ParallelTask() = default;
    ~ParallelTask();
    ParallelTask(const ParallelTask&) = delete;
    ParallelTask& operator=(const ParallelTask&) = delete;

    void Execute();
    bool IsFinished();
    // Seconds since Execute; passes 1 shortly before IsFinished turns true.
    float GetCompletion();

private:
    void RunTask();

    std::thread thread;
    bool finished = false;
    sf::Clock elapsed_time;
    std::mutex mutex;
};

}  // namespace parallel
