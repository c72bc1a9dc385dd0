// The platform contract: everything the engine asks of the operating system and window system.
// Only platform/ includes SDL or OS headers; the rest of the engine calls these functions.
// Back ends: platform/sdl (window, GL context, events, keyboard, message boxes) and
// platform/posix (files, processes, clock, debugger). A native Windows back end would fill the
// same list.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvoke::platform {

// ---------------------------------------------------------------- clock
std::uint64_t counterFrequency();          // counts per second of the high-resolution counter; 0 if none
std::uint64_t counterValue();              // the monotonic high-resolution counter
std::uint32_t tickMilliseconds();          // the coarse millisecond clock (fallback)
void sleepMilliseconds(int milliseconds);  // at least that long; <= 0 yields the processor
void sleepMicroseconds(int microseconds);
void beginTimerResolution();               // ask for 1 ms timer resolution (no-op where always fine)
void endTimerResolution();                 // ends it; nothing when it is not raised

// ---------------------------------------------------------------- files and processes
std::string executablePath();              // full path of the running executable
std::string temporaryDirectory();          // TMPDIR, else /tmp; always ends with '/'
std::string currentDirectory();
bool setCurrentDirectory(const std::string& path);
bool deleteFile(const std::string& path);
bool fileExists(const std::string& path);  // a regular file
bool canOpenForReading(const std::string& path);  // a regular file this process may read
// Creates a new file with an unpredictable name "<temporary directory><prefix>XXXXXX<suffix>"
// exclusively (never an existing file or link), writes the bytes and closes it. Returns its
// path, or "" when it could not be created or written (nothing is left behind then).
std::string writeNewTemporaryFile(const std::string& prefix, const std::string& suffix,
                                  const std::uint8_t* bytes, std::size_t count);
// Opens the file for exclusive writing (created when absent), appends the bytes, closes it.
// Fails without waiting when another writer holds it.
bool appendExclusive(const std::string& path, const char* bytes, std::size_t count);

using ProcessId = long;                    // -1: no process
// Starts a command line (shell syntax, as typed at a prompt) as a new process; only the standard
// streams are inherited.
ProcessId startProcess(const std::string& commandLine);
// Starts a program with an argument list (argv[0] is the program); only the standard streams
// are inherited. Extra environment entries ("NAME=value") are added to the child's.
ProcessId startProgram(const std::vector<std::string>& arguments,
                       const std::vector<std::string>& extraEnvironment = {});
// Waits up to timeoutMs (negative: forever). True when the process ended; exitCode is its exit
// code, or 128 + signal number when a signal ended it.
bool waitProcess(ProcessId process, int timeoutMs, int& exitCode);
void killProcess(ProcessId process);
[[noreturn]] void exitProcess(int exitCode);  // runs the registered exit handlers

bool isDebuggerAttached();
void sendDebuggerText(const std::string& text);
bool attachConsole();                      // binds standard input and output to a console

// ---------------------------------------------------------------- video
bool initVideo();                          // idempotent
void quitVideo();                          // closes every window; initVideo may run again

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};
DisplayMode desktopMode();

struct GlWindowRequest {
    int width = 640;
    int height = 480;
    int colourBits = 32;
    int multisampleCount = 0;              // 0: no multisample buffers
};
struct NativeWindow;                       // one OS window with its GL context; opaque

// Creates a hidden, centred window whose client area is width x height, with a double-buffered
// OpenGL compatibility context (24 depth bits, 8 stencil bits) made current. Null on failure.
NativeWindow* createGlWindow(const GlWindowRequest& request);
void destroyWindow(NativeWindow* window);
void setWindowCaption(NativeWindow* window, const std::string& bytes);  // Windows-1252 bytes
std::string windowCaption(NativeWindow* window);                        // Windows-1252 bytes
void showWindow(NativeWindow* window);
void hideWindow(NativeWindow* window);
void raiseWindow(NativeWindow* window);    // to the top, with the keyboard focus
bool isWindowShown(NativeWindow* window);
void setWindowClientSize(NativeWindow* window, int width, int height);
void clientSize(NativeWindow* window, int& width, int& height);
// Full screen in a display mode of exactly width x height (at bitsPerPixel when non-zero).
// False when the display offers no such mode; the window is then unchanged.
bool enterFullScreen(NativeWindow* window, int width, int height, int bitsPerPixel);
void leaveFullScreen(NativeWindow* window);
std::uint32_t nativeHandle(NativeWindow* window);  // the window system's id of the window
bool makeContextCurrent(NativeWindow* window);
void swapBuffers(NativeWindow* window);
void* glProcAddress(const char* name);     // null when the driver lacks it
// The window system's own OpenGL extension list (GLX or EGL) for the current context; "" if none.
std::string windowSystemExtensions();
void setArrowCursor();
void warningBeep();
void suppressScreenSaver();

// ---------------------------------------------------------------- events
enum class WindowEventType { CloseRequest, Activated, Deactivated };
struct WindowEvent {
    WindowEventType type;
};
// Removes every pending window-system event and returns those the engine acts on.
std::vector<WindowEvent> takeWindowEvents();

// ---------------------------------------------------------------- keyboard
// Key codes are the DirectInput scan codes 0..255; a snapshot byte has bit 7 set while the key is
// down.
using KeyboardSnapshot = std::uint8_t[256];
void readKeyboard(KeyboardSnapshot& state);
// The key code of a window-system key, for tests and the key tables: -1 when it has none.
int keyCodeOfScancode(int scancode);

// ---------------------------------------------------------------- message boxes
enum class MessageIcon { Information, Warning, Error };
// Shows a modal box with an OK button. Texts are Windows-1252 bytes.
void showMessageBox(const std::string& caption, const std::string& text, MessageIcon icon);
// Tests replace the box with a recorder; null restores the real one.
using MessageBoxHook = void (*)(const std::string& caption, const std::string& text, MessageIcon icon);
void setMessageBoxHook(MessageBoxHook hook);

} // namespace tarvoke::platform
