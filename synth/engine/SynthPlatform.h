// The little the portable code of the instrument needs from the system.
// Only SynthPlatform.cpp includes a platform header.
#pragma once

// Shows an error to the user: a message box with the caption "Nimbulator"
// and an OK button on Windows; on other systems, where a plug-in has no
// desktop of its own to show it on, the text goes to standard error.
// UI thread only (it blocks until dismissed).
void showMessage(const char* text);

// Redirects showMessage to `handler` (null restores the system's way), for
// programs that drive the instrument without a user, such as tests.
void setMessageHandler(void (*handler)(const char* text));

// True while the key with this Windows virtual-key code is held down
// (asynchronous key state). Always false where there is no such state.
// Any thread.
bool isKeyDown(int virtualKey);
