#pragma once

#include <cstddef>
#include <vector>

namespace assetgen {

// A small stereo reverb (parallel damped combs into series allpasses) that gives the music space.
class Reverb {
public:
    Reverb();
    // One mono sample in, one stereo wet sample out.
    void Process(float input, float& out_left, float& out_right);

private:
    struct Comb {
        std::vector<float> line;
        std::size_t index = 0;
        float store = 0.0f;
    };
    struct Allpass {
        std::vector<float> line;
        std::size_t index = 0;
    };
    static float Run(Comb& comb, float input);
    static float Run(Allpass& allpass, float input);

    std::vector<Comb> combs[2];
    std::vector<Allpass> allpasses[2];
};

// Ping-pong echo with a darkening feedback path.
class Echo {
public:
    explicit Echo(std::size_t delay_samples);
    void Process(float input, float& out_left, float& out_right);

private:
    std::vector<float> left_line;
    std::vector<float> right_line;
    std::size_t index = 0;
    float left_damp = 0.0f;
    float right_damp = 0.0f;
};

}  // namespace assetgen
