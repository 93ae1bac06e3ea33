#pragma once
// Helpers of the savegame container that need no world (CZorvaWorld holds
// the container itself: zor_savegame.cpp).
#include <cstddef>
#include <string>

// The version that savegames are written in.
constexpr int kSaveGameVersion = 240;

// The companion text file of a savegame: its name with the last character
// made 'M'. An empty name stays empty (and is logged).
std::string ZorCompanionName(const std::string& name);

// The version number of a version tag ("VERSION 2.4" is 240), looked up by
// its first 12 bytes; 0 for an unknown one.
int ZorSaveGameVersion(const char* versionTag);

// The bytes at the start of a savegame that say what it is: its name tag and
// its version tag.
constexpr size_t kSaveGameHeaderSize = 60;

// The version of the savegame whose first bytes are `data`; 0 when they are
// no savegame's or of no known version. Logs nothing.
int ZorSaveGameHeaderVersion(const char* data, size_t size);

// The extension of savegames of a game mode (".GTD", ".GMD", ".SZD",
// ".EXD"); empty for any other mode.
const char* ZorSaveExtension(int mode);

// Whether a typed savegame name may be used: 1 to 30 letters, digits,
// blanks, '-' and '_' (no separators, dots or control characters).
bool ZorIsValidSaveName(const char* name);
