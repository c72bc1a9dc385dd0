#!/bin/sh
# Keeps the layering honest: only platform/ talks to the operating system and the window
# system, and core/ draws nothing itself. Prints each offending line; exits 1 if there is any.
set -eu
cd "$(dirname "$0")/.."
engine="core values graphics2d graphics3d files sound input net pathfind demo include examples"
existing=""
for folder in $engine; do [ -d "$folder" ] && existing="$existing $folder"; done

# System headers a portable engine file may not name: SDL, POSIX and Windows interfaces.
os_headers='#[[:space:]]*include[[:space:]]*<(SDL[^>]*|unistd\.h|fcntl\.h|sys/[^>]*|dlfcn\.h|pthread\.h|signal\.h|spawn\.h|poll\.h|locale\.h|dirent\.h|termios\.h|netdb\.h|netinet/[^>]*|arpa/[^>]*|windows\.h|winsock2?\.h|ws2tcpip\.h|X11/[^>]*|GL/glx\.h|EGL/[^>]*)>'
gl_headers='#[[:space:]]*include[[:space:]]*[<"](GL/[^>"]*|graphics2d/GlExtensions\.h|graphics2d/GlTexture\.h)[>"]'

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
[ "$status" -eq 0 ] && echo "check-includes: the layering holds"
exit "$status"
