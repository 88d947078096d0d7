// Another program taking the keyboard for a moment, as a desktop's hotkey or a screenshot tool does.
//   keyboard_grab active MILLISECONDS    grabs the whole keyboard, then lets it go
//   keyboard_grab hotkey MILLISECONDS    holds F12 as a hotkey: a press of it grabs the keyboard until released
// Exit status 0 once done, 1 when the grab was refused, 2 without a display.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <cstring>
#include <thread>

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display || argc != 3)
        return 2;
    const Window root = DefaultRootWindow(display);
    const auto wait = std::chrono::milliseconds(std::atoi(argv[2]));
    if (std::strcmp(argv[1], "hotkey") == 0)
    {
        const int key = XKeysymToKeycode(display, XK_F12);
        XGrabKey(display, key, AnyModifier, root, False, GrabModeAsync, GrabModeAsync);
        XSync(display, False);
        std::this_thread::sleep_for(wait);
        XUngrabKey(display, key, AnyModifier, root);
    }
    else
    {
        if (XGrabKeyboard(display, root, False, GrabModeAsync, GrabModeAsync, CurrentTime) != GrabSuccess)
            return 1;
        XSync(display, False);
        std::this_thread::sleep_for(wait);
        XUngrabKeyboard(display, CurrentTime);
    }
    XCloseDisplay(display);
    return 0;
}
