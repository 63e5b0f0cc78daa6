#pragma once

#include <SFML/System/Time.hpp>

#include <cstddef>
#include <deque>
#include <string>

namespace state::game::notice_queue {

// The server's notices, shown one after the other for 2.5 s each. A notice is cut to what fits a
// screen line, and only a few wait: a server that sends more than anyone can read loses the
// oldest waiting ones, never the one on screen.
class NoticeQueue {
public:
    static constexpr std::size_t MAX_LENGTH = 120;
    static constexpr std::size_t CAPACITY = 4;

    // True when the notice is shown from now on.
    bool Push(std::string text);
    // Advances the shown notice's time; true when another one takes its place.
    bool Update(sf::Time dt);

    bool Empty() const { return notices.empty(); }
    // The notice on screen; the queue must not be empty.
    const std::string& Front() const { return notices.front(); }

private:
    std::deque<std::string> notices;
    sf::Time shown_time;
};

}  // namespace state::game::notice_queue
