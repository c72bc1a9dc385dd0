// A chat over a game session: one copy hosts, others join; every line typed goes to everyone
// and the window shows the conversation and how many are in it. Each line shown is also written
// to standard output ("got: " for others' lines, "sent: " for one's own).
//
//     chat host [PORT] NAME            chat join ADDRESS [PORT] NAME
//
// A line is typed in the window: the first key typed opens the line at the bottom of the window
// (`inputText`), Enter sends it. While a line is being typed the conversation waits; it catches
// up when the line is sent. The line "/quit" or Escape ends the chat.
#include <tarvoke.h>
#include <cstdio>
#include <deque>

using namespace tarvoke;

const GameInfo tarvoke::gameInfo = {"Chat", ProjectSettings{}};

namespace {

constexpr int visibleLines = 24;

// A line typed in the window, or false when no key was typed this frame. The key that was typed
// starts the line (Enter alone starts an empty one).
bool readTypedLine(StrValue& line) {
    const StrValue first = inkey();
    if (first.length() == 0) return false;
    line = first == "\n" ? StrValue("") : first;
    inputText(line, 8, 432);
    return true;
}

struct Chat {
    std::deque<StrValue> shown;
    void add(const StrValue& line, const char* how) {
        std::printf("%s: %s\n", how, line.cStr());
        std::fflush(stdout);
        shown.push_back(line);
        if (shown.size() > visibleLines) shown.pop_front();
    }
    void draw(NumValue players) const {
        NumValue y = 8;
        for (const StrValue& line : shown) printText(line, 8, y), y += 18;
        printText(concat("players: ", players), 8, 456);
    }
};

// "host [PORT] NAME" or "join ADDRESS [PORT] NAME" into a session; false when it failed.
bool enterSession(const TextArray& words, int count, StrValue& name) {
    const bool hosting = count > 0 && words(0) == "host";
    const int first = hosting ? 1 : 2;           // where PORT or NAME starts
    if (count < first + 1) return false;
    const bool withPort = count > first + 1;
    name = words(withPort ? first + 1 : first);
    const StrValue port = withPort ? StrValue(words(first)) : StrValue("0");
    if (hosting) return netHostGame(port) == 1;
    return count > 0 && words(0) == "join" && netJoinGame(words(1), port) == 1;
}

} // namespace

void tarvokeMain() {
    setAutoPause(0);  // the conversation goes on while another window has the focus
    TextArray words;
    const int count = int(splitText(getCommandLine(), words, " "));
    StrValue name;
    if (!enterSession(words, count, name)) {
        std::printf("usage: chat host [PORT] NAME | chat join ADDRESS [PORT] NAME (no session)\n");
        return;
    }
    const StrValue me = netCreatePlayer(name);
    std::printf("in the game as %s (id %s)\n", name.cStr(), me.cStr());
    std::fflush(stdout);
    Chat chat;
    NumValue players = netPlayerCount(), lastCount = getTimerAll();
    netSendMessage(me, "0", concat("* ", name) + " joined");
    for (;;) {
        for (StrValue text = netGetMessage(me); text.length() > 0; text = netGetMessage(me)) chat.add(text, "got");
        StrValue line;
        if (readTypedLine(line)) {
            if (line == "/quit") return;
            const StrValue said = concat(name, ": ") + line;
            netSendMessage(me, "0", said);
            chat.add(said, "sent");
        }
        if (getTimerAll() - lastCount > 1000) players = netPlayerCount(), lastCount = getTimerAll();
        chat.draw(players);
        showScreen();
    }
}
