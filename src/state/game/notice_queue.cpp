#include "state/game/notice_queue.hpp"

namespace state::game::notice_queue {

namespace {
const sf::Time DURATION = sf::seconds(2.5f);
}

bool NoticeQueue::Push(std::string text) {
    if (text.size() > MAX_LENGTH) text.resize(MAX_LENGTH);
    if (notices.size() == CAPACITY) notices.erase(notices.begin() + 1);
    notices.push_back(std::move(text));
    if (notices.size() > 1) return false;
    shown_time = sf::Time::Zero;
    return true;
}

bool NoticeQueue::Update(sf::Time dt) {
    if (notices.empty()) return false;
    shown_time += dt;
    if (shown_time <= DURATION) return false;
    notices.pop_front();
    shown_time = sf::Time::Zero;
    return !notices.empty();
}

}  // namespace state::game::notice_queue
