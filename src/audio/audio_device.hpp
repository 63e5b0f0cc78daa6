#pragma once

namespace audio {

// Without a sound device OpenAL and SFML report every failed call, dozens of lines. This tries
// the default device once, in a child process so that OpenAL's set-up here stays untouched; when
// there is none it tells the player in one line and makes OpenAL play into its silent null
// device. Call before anything touches audio. True when a device was found.
bool PrepareAudioOutput();

}  // namespace audio
