#include "room_effects.hpp"

namespace assetgen {
namespace {

constexpr std::size_t COMB_LENGTHS[] = {1116, 1188, 1277, 1356, 1422, 1491};
constexpr std::size_t ALLPASS_LENGTHS[] = {556, 441, 341};
// The right channel's lines are a little longer, which decorrelates the two sides.
constexpr std::size_t STEREO_SPREAD = 23;
constexpr float COMB_FEEDBACK = 0.8f;
constexpr float COMB_DAMPING = 0.3f;
constexpr float ALLPASS_FEEDBACK = 0.5f;
constexpr float ECHO_FEEDBACK = 0.38f;

}  // namespace

Reverb::Reverb() {
    for (std::size_t side = 0; side < 2; ++side) {
        for (std::size_t length : COMB_LENGTHS)
            combs[side].push_back({std::vector<float>(length + side * STEREO_SPREAD, 0.0f)});
        for (std::size_t length : ALLPASS_LENGTHS)
            allpasses[side].push_back({std::vector<float>(length + side * STEREO_SPREAD, 0.0f)});
    }
}

float Reverb::Run(Comb& comb, float input) {
    const float output = comb.line[comb.index];
    comb.store = output * (1.0f - COMB_DAMPING) + comb.store * COMB_DAMPING;
    comb.line[comb.index] = input + comb.store * COMB_FEEDBACK;
    if (++comb.index == comb.line.size())
        comb.index = 0;
    return output;
}

float Reverb::Run(Allpass& allpass, float input) {
    const float buffered = allpass.line[allpass.index];
    allpass.line[allpass.index] = input + buffered * ALLPASS_FEEDBACK;
    if (++allpass.index == allpass.line.size())
        allpass.index = 0;
    return buffered - input;
}

void Reverb::Process(float input, float& out_left, float& out_right) {
    input *= 0.1f;
    float* outputs[2] = {&out_left, &out_right};
    for (int side = 0; side < 2; ++side) {
        float sum = 0.0f;
        for (Comb& comb : combs[side])
            sum += Run(comb, input);
        for (Allpass& allpass : allpasses[side])
            sum = Run(allpass, sum);
        *outputs[side] = sum;
    }
}

Echo::Echo(std::size_t delay_samples) : left_line(delay_samples, 0.0f), right_line(delay_samples, 0.0f) {}

void Echo::Process(float input, float& out_left, float& out_right) {
    out_left = left_line[index];
    out_right = right_line[index];
    // Each repeat crosses to the other side and loses some treble.
    left_damp += 0.45f * (out_right - left_damp);
    right_damp += 0.45f * (out_left - right_damp);
    left_line[index] = input + left_damp * ECHO_FEEDBACK;
    right_line[index] = right_damp * ECHO_FEEDBACK;
    if (++index == left_line.size())
        index = 0;
}

}  // namespace assetgen
