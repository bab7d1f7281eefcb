// What lets a desktop shell tie the running game's window to its launcher.
#pragma once

// Gives the game's window (the one whose GL context is current) the class
// its desktop entry names in StartupWMClass and the car icon, at the sizes
// built into the program. Call right after the window is created.
void identifyGameWindow();
