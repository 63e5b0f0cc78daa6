#include "parallel/parallel_task.hpp"

namespace parallel {
namespace {
const sf::Time task_duration = sf::seconds(1.f);
}

ParallelTask::~ParallelTask() {
    if (thread.joinable()) thread.join();
}

void ParallelTask::Execute() {
    finished = false;
    elapsed_time.restart();
    thread = std::thread(&ParallelTask::RunTask, this);
}

bool ParallelTask::IsFinished() {
    std::lock_guard<std::mutex> lock(mutex);
    return finished;
}

float ParallelTask::GetCompletion() {
    std::lock_guard<std::mutex> lock(mutex);
    return elapsed_time.getElapsedTime().asSeconds();
}

void ParallelTask::RunTask() {
    for (;;) {
        std::lock_guard<std::mutex> lock(mutex);
        if (elapsed_time.getElapsedTime() >= task_duration) break;
    }
    std::lock_guard<std::mutex> lock(mutex);
    finished = true;
}

}  // namespace parallel
