// High scores: the five best scores live in an INI file, the player's progress in a save game
// written through a file channel. Each run plays one pretend game, whose score grows with the
// games played so far, enters it in the table and shows the table. Name a folder on the command
// line to keep the two files there; otherwise they stay beside the game. Escape ends it, and the
// engine writes the INI file back on the way out.
#include <tarvoke.h>

using namespace tarvoke;

const GameInfo tarvoke::gameInfo = {"High scores", ProjectSettings{}};

namespace {

constexpr int tableSize = 5;
constexpr NumValue saveChannel = 0;
const char* const saveMagic = "HSV1";

struct SaveGame {
    NumValue gamesPlayed = 0;
    NumValue bestScore = 0;
    StrValue lastPlayer = "nobody";
};

struct Entry {
    NumValue score = 0;
    StrValue name;
};

// Magic, games played (long), best score (double), last player's name (a line). A file that is
// missing, too short or not a save game starts the player afresh instead of ending the program.
SaveGame loadSaveGame(const StrValue& path) {
    SaveGame save;
    if (fileSize(path) < 18 || openFile(saveChannel, path, 1) == 0) return save;
    StrValue magic;
    readText(saveChannel, magic, 4);
    if (magic == saveMagic) {
        readLong(saveChannel, save.gamesPlayed);
        readIeee(saveChannel, save.bestScore);
        if (!endOfFile(saveChannel)) readLine(saveChannel, save.lastPlayer);
    }
    closeFile(saveChannel);
    return save;
}

void writeSaveGame(const StrValue& path, const SaveGame& save) {
    if (openFile(saveChannel, path, 0) == 0) return;
    writeText(saveChannel, saveMagic);
    writeLong(saveChannel, save.gamesPlayed);
    writeIeee(saveChannel, save.bestScore);
    writeLine(saveChannel, save.lastPlayer);
    closeFile(saveChannel);
}

int readTable(Entry (&table)[tableSize]) {
    int count = 0;
    for (; count < tableSize; ++count) {
        const StrValue score = iniGet("High Scores", concat("score", NumValue(count + 1)));
        if (score == "NO_DATA") break;
        table[count] = {score.toNumber(), iniGet("High Scores", concat("name", NumValue(count + 1)))};
    }
    return count;
}

int enterScore(Entry (&table)[tableSize], int count, const Entry& entry) {
    int at = count < tableSize ? count : tableSize - 1;
    if (count == tableSize && entry.score <= table[at].score) return count;
    for (; at > 0 && table[at - 1].score < entry.score; --at) table[at] = table[at - 1];
    table[at] = entry;
    return count < tableSize ? count + 1 : count;
}

void writeTable(const Entry (&table)[tableSize], int count) {
    for (int i = 0; i < count; ++i) {
        iniPut("High Scores", concat("score", NumValue(i + 1)), formatNumber(table[i].score));
        iniPut("High Scores", concat("name", NumValue(i + 1)), table[i].name);
    }
}

} // namespace

void tarvokeMain() {
    const StrValue folder = getCommandLine().length() > 0 ? getCommandLine() + "/" : StrValue();
    const StrValue savePath = folder + "savegame.dat";
    SaveGame save = loadSaveGame(savePath);
    save.gamesPlayed += 1;
    const Entry played = {500 * save.gamesPlayed + 250, concat("Run ", save.gamesPlayed)};
    if (played.score > save.bestScore) save.bestScore = played.score;
    save.lastPlayer = played.name;
    writeSaveGame(savePath, save);

    iniOpen(folder + "highscores.ini");
    Entry table[tableSize];
    const int count = enterScore(table, readTable(table), played);
    writeTable(table, count);
    iniPut("Stats", "games", formatNumber(save.gamesPlayed));

    for (;;) {
        printText(concat("GAME ", save.gamesPlayed) + concat("  SCORE ", played.score), 200, 120);
        for (int i = 0; i < count; ++i)
            printText(concat(NumValue(i + 1), ". ") + table[i].name + concat("  ", table[i].score), 220, 170 + 20 * i);
        printText(concat("BEST EVER ", save.bestScore), 200, 300);
        showScreen();
    }
}
