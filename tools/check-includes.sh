#!/bin/sh
# Keeps the layering honest: only platform/ talks to the operating system and the window
# system, core/ draws nothing itself, and the tools follow suit (tarvoke-pack reaches the system
# through platform/; the font and media generators use the standard library alone) and only the
# movie reader names FFmpeg. Prints each offending line; exits 1 if there is any.
set -eu
cd "$(dirname "$0")/.."
engine="core values graphics2d graphics3d files sound video input net pathfind demo include examples tools"
existing=""
for folder in $engine; do [ -d "$folder" ] && existing="$existing $folder"; done

# System headers a portable engine file may not name: SDL, POSIX and Windows interfaces.
os_headers='#[[:space:]]*include[[:space:]]*<(SDL[^>]*|unistd\.h|fcntl\.h|sys/[^>]*|dlfcn\.h|pthread\.h|signal\.h|spawn\.h|poll\.h|locale\.h|dirent\.h|termios\.h|netdb\.h|netinet/[^>]*|arpa/[^>]*|windows\.h|winsock2?\.h|ws2tcpip\.h|X11/[^>]*|GL/glx\.h|EGL/[^>]*)>'
gl_headers='#[[:space:]]*include[[:space:]]*[<"](GL/[^>"]*|graphics2d/GlExtensions\.h|graphics2d/GlTexture\.h)[>"]'
# The C++17 standard library, C compatibility headers included.
standard='algorithm|any|array|atomic|bitset|cassert|cctype|cerrno|cfenv|cfloat|charconv|chrono|cinttypes|climits|clocale|cmath|codecvt|complex|condition_variable|csetjmp|csignal|cstdarg|cstddef|cstdint|cstdio|cstdlib|cstring|ctime|cuchar|cwchar|cwctype|deque|exception|execution|filesystem|forward_list|fstream|functional|future|initializer_list|iomanip|ios|iosfwd|iostream|istream|iterator|limits|list|locale|map|memory|memory_resource|mutex|new|numeric|optional|ostream|queue|random|ratio|regex|scoped_allocator|set|shared_mutex|sstream|stack|stdexcept|streambuf|string|string_view|system_error|thread|tuple|type_traits|typeindex|typeinfo|unordered_map|unordered_set|utility|valarray|variant|vector'

status=0
# shellcheck disable=SC2086
if grep -rnE --include='*.c' --include='*.cpp' --include='*.h' "$os_headers" $existing; then
    echo "check-includes: the lines above include system headers outside platform/" >&2
    status=1
fi
if grep -rnE --include='*.cpp' --include='*.h' "$gl_headers" core; then
    echo "check-includes: the lines above include OpenGL headers in core/" >&2
    status=1
fi
# FFmpeg's libraries are reached through video/'s MovieFile alone.
ffmpeg_headers='#[[:space:]]*include[[:space:]]*<(libav[a-z]*|libsw[a-z]*)/'
# shellcheck disable=SC2086
if grep -rnE --include='*.c' --include='*.cpp' --include='*.h' "$ffmpeg_headers" $existing platform | grep -v '^video/MovieFile\.cpp:'; then
    echo "check-includes: the lines above include FFmpeg headers outside video/MovieFile.cpp" >&2
    status=1
fi
# The generators use the standard library alone: tools/fonts, tools/media and the examples' own
# media makers (make_*.cpp).
angled='#[[:space:]]*include[[:space:]]*<'
if { grep -rnE --include='*.cpp' --include='*.h' "$angled" tools/fonts tools/media 2>/dev/null
     grep -rnE --include='make_*.cpp' "$angled" examples 2>/dev/null; } |
    grep -vE "#[[:space:]]*include[[:space:]]*<($standard)>"; then
    echo "check-includes: the lines above include more than the standard library in a generator" >&2
    status=1
fi
[ "$status" -eq 0 ] && echo "check-includes: the layering holds"
exit "$status"
