#include "parallel/parallel_task.hpp"

#include <SFML/System/Clock.hpp>

#include <utility>

namespace parallel {
namespace {
const sf::Time task_duration = sf::seconds(1.f);
}

ParallelTask::ParallelTask(Clock task_clock) : clock(std::move(task_clock)) {
    if (!this->clock) this->clock = [real = sf::Clock()] { return real.getElapsedTime(); };
    started = this->clock();
}

ParallelTask::~ParallelTask() {
    if (thread.joinable()) thread.join();
}

void ParallelTask::Execute() {
    finished = false;
    started = clock();
    thread = std::thread(&ParallelTask::RunTask, this);
}

bool ParallelTask::IsFinished() {
    std::lock_guard<std::mutex> lock(mutex);
    return finished;
}

float ParallelTask::GetCompletion() {
    std::lock_guard<std::mutex> lock(mutex);
    return Elapsed().asSeconds();
}

sf::Time ParallelTask::Elapsed() const { return clock() - started; }

void ParallelTask::RunTask() {
    for (;;) {
        std::lock_guard<std::mutex> lock(mutex);
        if (Elapsed() >= task_duration) break;
    }
    std::lock_guard<std::mutex> lock(mutex);
    finished = true;
}

}  // namespace parallel
