// The main menu of seven picture buttons.
#pragma once

enum MenuButton : int {
    MENU_NONE = 0,
    MENU_NEW_GAME = 1,
    MENU_DEMO = 2,
    MENU_SAVE = 3,
    MENU_LOAD = 4,
    MENU_NO_ACTION = 5,
    MENU_QUIT = 6,
    MENU_RESUME = 7,
};

void runMainMenu();
