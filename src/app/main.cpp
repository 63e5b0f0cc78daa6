#include "app/application.hpp"
#include "audio/audio_device.hpp"
#include "data/data_directory.hpp"
#include "display/display_check.hpp"

#include <holder/resource_id.hpp>

#include <cstdlib>
#include <exception>
#include <iostream>

int main() {
    // SFML would abort with a message of its own: say plainly what is missing instead.
    if (const auto problem = display::GraphicalDisplayProblem()) {
        std::cerr << "Kirrow needs a graphical display: " << *problem << std::endl;
        return 1;
    }
    audio::PrepareAudioOutput();
    holder::SetDataDirectory(data::FindDataDirectory(data::ExecutablePath(), std::getenv("KIRROW_DATA")));
    try {
        Application app;
        app.Run();
    } catch (const std::exception& error) {
        // The Application is gone by now; a failure must not look like success to the caller.
        std::cout << "unhandled exception: " << error.what() << std::endl;
        return 1;
    }
    return 0;
}
