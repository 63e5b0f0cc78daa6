#include "application.hpp"

#include <exception>
#include <iostream>

int main() {
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
