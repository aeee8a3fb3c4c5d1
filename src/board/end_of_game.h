// The end of a game: the pause, the victory sound and the result picture.
#pragma once

void checkEndOfGame();
