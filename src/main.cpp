#include "shell/Errors.hpp"
#include "shell/OutStream.hpp"

int main() {
    zil::printMessage("The demo is not assembled yet.\n");
    zil::closeAllStreams();
    return 0;
}
