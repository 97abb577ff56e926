#include "shell/Program.hpp"

int main() { return zil::Program::run(); }
