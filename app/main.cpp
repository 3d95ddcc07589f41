#include "game/Startup.h"

int main(int argc, char** argv, char** envp) {
    return game::main(argc, argv, envp);
}
