// The mouse and the keyboard, read once per frame.
#pragma once

void setUpInputDevices();
void pollMouse();
void pollKeyboard();
