// The options file "options.inf": a word, the blink period, a word.
#pragma once

void readOptionsFile();
