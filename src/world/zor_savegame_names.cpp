// Savegame files and names: the savegame folder, the names by game mode,
// the automatic, fast and start-up games, the supplied games that may be
// neither overwritten nor deleted, and the list of savegames with the name
// the player types. Paths are built from the folder; the process stays in
// its working directory.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "framework/zor_util.h"
#include "model/gott_modus.h"
#include "model/indikatoren.h"
#include "model/message.h"
#include "sim/sim_welt.h"
#include "iso/iso_welt.h"
#include "ui/user_int.h"
#include "world/zor_savegame.h"
#include "world/zor_world.h"

namespace {

constexpr const char* kSaveDir = "SaveGame";
constexpr const char* kNoFileSelected = "No File Selected";
constexpr int kWarningNoOverwrite = 72;
constexpr int kWarningNoDelete = 73;

}  // namespace

const char* ZorSaveExtension(int mode) {
  switch (mode) {
    case GAME_GOD:
      return ".GTD";
    case GAME_NORMAL:
      return ".GMD";
    case GAME_SCENARIO:
      return ".SZD";
    case GAME_EXPO:
      return ".EXD";
    default:
      return "";
  }
}

bool ZorIsValidSaveName(const char* name) {
  if (!name) return false;
  const size_t length = std::strlen(name);
  if (length < 1 || length > 30) return false;
  for (size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (!(std::isalnum(c) || c == ' ' || c == '-' || c == '_') || c > 127) return false;
  }
  return true;
}

bool CZorvaWorld::EnterSaveDir() {
  struct stat st;
  if (::stat(kSaveDir, &st) == 0 && S_ISDIR(st.st_mode)) return true;
  if (::mkdir(kSaveDir, 0755) != 0 && errno != EEXIST) {
    QNO_LOG("Kann Verzeichnis '%s' nicht anlegen: %s", kSaveDir, std::strerror(errno));
    return false;
  }
  if (::stat(kSaveDir, &st) != 0 || !S_ISDIR(st.st_mode)) {
    QNO_LOG("Kann nicht in Verzeichnis '%s' wechseln", kSaveDir);
    return false;
  }
  return true;
}

std::string CZorvaWorld::SavePath(const std::string& file) { return std::string(kSaveDir) + "/" + file; }

int CZorvaWorld::GameModeForSaving() const { return m_pGottModus ? m_pGottModus->GetGameModus() : GAME_NORMAL; }
int CZorvaWorld::GameModeForListing() const { return m_pGottModus ? m_pGottModus->m_ListingMode : GAME_NORMAL; }

// The typed name, terminated within its field; empty when it is no name
// a savegame may have.
std::string CZorvaWorld::EnteredName() {
  m_EntryName[kSaveNameSize - 1] = '\0';
  if (m_EntryName[0] && !ZorIsValidSaveName(m_EntryName)) {
    QNO_LOG("'%s' is no savegame name", m_EntryName);
    return "";
  }
  return m_EntryName;
}

void CZorvaWorld::EndNameEntry() {
  m_EntryCursor = 0;
  m_EntryActive = 0;
}

void CZorvaWorld::ResetMessagesKeepingWarning(int seconds) {
  if (!m_pMessage) return;
  // The reset empties the warning's text; a warning still on the screen
  // (a savegame the load refused or converted) keeps its words, or the
  // player would be left with an empty window.
  const char* shown = m_pMessage->GetAchtungMessage();
  const bool open = m_pUserInt && m_pUserInt->IsWindowOpen(CUserInt::kWarningWindow) == 0;
  const std::string warning = open && shown ? shown : "";
  m_pMessage->ResetMessage(seconds);
  if (!warning.empty()) m_pMessage->SetAchtungMessage(warning.c_str());
}

void CZorvaWorld::RestartMessages(int seconds) {
  ResetMessagesKeepingWarning(seconds);
  if (m_pIndikatoren) m_pIndikatoren->SetStandardMessage();
  if (m_pMessage) m_pMessage->SetBeraterZielMessage();
}

void CZorvaWorld::Warn(int id) {
  if (m_pUserInt) m_pUserInt->SetAchtungWindow(id);
}

// ---- saving and loading by name ---------------------------------------------------

int CZorvaWorld::SaveGame() {
  const std::string name = EnteredName();
  if (name.empty() || !EnterSaveDir()) return 1;
  const std::string file = name + ZorSaveExtension(GameModeForSaving());
  if (CheckForGameNotOverWrite(file.c_str()) == 1) {
    Warn(kWarningNoOverwrite);
    return 1;
  }
  return SerializeGameStore(SavePath(file).c_str());
}

int CZorvaWorld::AutoSaveGame(bool fast) {
  if (!EnterSaveDir()) return 1;
  const int mode = GameModeForSaving();
  const char* extension = mode == GAME_GOD || mode == GAME_SCENARIO || mode == GAME_EXPO ? ZorSaveExtension(mode) : ".GMD";
  const std::string file = fast ? std::string("FASTSAVE.AUD") : std::string("AUTOSAVE") + extension;
  return SerializeGameStore(SavePath(file).c_str());
}

int CZorvaWorld::LoadGame() {
  const std::string name = EnteredName();
  if (name.empty()) {
    EndNameEntry();
    return 1;
  }
  if (!EnterSaveDir()) return 1;
  const int result = SerializeGameLoad(SavePath(name + ZorSaveExtension(GameModeForListing())).c_str());
  // A refused load leaves the running game, its messages included, as it was.
  if (result == 0) {
    RestartMessages(60);
    if (m_pGottModus) m_pGottModus->ShowSavedEnd();
  }
  return result;
}

int CZorvaWorld::AutoLoadGame(bool fast) {
  if (!EnterSaveDir()) return 1;
  const int result = SerializeGameLoad(SavePath(fast ? "FASTSAVE.AUD" : "AUTOSAVE.AUD").c_str());
  // As a load by name: a refused load keeps the running game's messages,
  // those its end window shows among them.
  if (result == 0) {
    ResetMessagesKeepingWarning(0);
    if (m_pMessage) m_pMessage->SetBeraterZielMessage();
    if (m_pIndikatoren) m_pIndikatoren->SetStandardMessage();
    if (m_pGottModus) m_pGottModus->ShowSavedEnd();
  }
  EndNameEntry();
  return result;
}

int CZorvaWorld::LoadStartupGame() {
  if (!EnterSaveDir()) return 1;
  // The start-up town begins a new game, as "DATA.00D" does: it goes on
  // with the random sequence seeded when the program started.
  const uint64_t random = zor_random_state();
  const int result = SerializeGameLoad(SavePath("STARTUP.AUD").c_str());
  zor_set_random_state(random);
  RestartMessages(0);
  EndNameEntry();
  return result;
}

int CZorvaWorld::ResetGame() {
  if (!EnterSaveDir()) return 1;
  // A new game that cannot be read leaves the running one as it was.
  // A new game goes on with the random sequence seeded when the program
  // started: the position saved with the empty town would start every new
  // game alike.
  const uint64_t random = zor_random_state();
  if (SerializeGameLoad(SavePath("DATA.00D").c_str()) != 0) return 1;
  zor_set_random_state(random);
  ResetAfterLoad();
  if (m_pIsoWelt) m_pIsoWelt->Update();
  if (m_pUserInt) m_pUserInt->ActivateAfterLoad();
  const STime now = STime::FromDate(m_pSimWelt->Date());
  m_LastHourTime = now;
  m_LastDayTime = now;
  if (m_pUserInt) m_pUserInt->ActivateAfterLoad();
  SetWindowObjects();
  if (m_pGottModus) m_pGottModus->SetGameModus(GAME_NORMAL);
  RestartMessages(60);
  EndNameEntry();
  return 0;
}

bool CZorvaWorld::CheckForAutoLoadGame() {
  if (!EnterSaveDir()) return false;
  return FileExists(SavePath("AUTOSAVE.AUD").c_str());
}

// A supplied game is never overwritten: there is nothing to ask, and the
// save that follows refuses it at once with the reason.
int CZorvaWorld::CheckForSaveGame() {
  const int mode = GameModeForSaving();
  if (CheckForGameNotOverWrite((EnteredName() + ZorSaveExtension(mode)).c_str()) == 1) return 0;
  return SavegameExists(mode);
}
int CZorvaWorld::CheckForLoadGame() { return SavegameExists(GameModeForListing()); }

int CZorvaWorld::SavegameExists(int mode) {
  const std::string name = EnteredName();
  if (name.empty() || !EnterSaveDir()) return 0;
  return FileExists(SavePath(name + ZorSaveExtension(mode)).c_str()) ? 1 : 0;
}

int CZorvaWorld::DeleteGame() {
  const std::string name = EnteredName();
  if (name.empty() || !EnterSaveDir()) return 0;
  const std::string file = name + ZorSaveExtension(GameModeForListing());
  if (file.find_first_of("*?") != std::string::npos) return 0;
  if (CheckForGameNotOverWrite(file.c_str()) == 1) {
    Warn(kWarningNoDelete);
    return 0;
  }
  const std::string path = SavePath(file);
  // A savegame still being written would come back after the removal.
  WaitForSave();
  if (std::remove(path.c_str()) != 0) {
    QNO_LOG("Cannot delete '%s': %s", path.c_str(), std::strerror(errno));
    return 0;
  }
  const std::string companion = ZorCompanionName(path);
  if (std::remove(companion.c_str()) != 0) QNO_LOG("Cannot delete '%s': %s", companion.c_str(), std::strerror(errno));
  return 1;
}

int CZorvaWorld::CheckForMitgeliefert(const char* name) {
  if (!m_EntryName[0] && (!name || !*name)) return 0;
  if (!EnterSaveDir()) return 1;
  const std::string file = std::string(name ? name : "") + ZorSaveExtension(GameModeForSaving());
  return CheckForGameNotOverWrite(file.c_str());
}

int CZorvaWorld::CheckForGameNotOverWrite(const char* name) {
  if (!name || !*name) return 0;
  FILE* list = std::fopen(SavePath("GND.TXT").c_str(), "r");
  if (!list) return 0;
  char line[499];
  int found = 0;
  while (std::fgets(line, sizeof line, list)) {
    size_t n = std::strlen(line);
    for (int cut = 0; cut < 2 && n > 0 && (line[n - 1] == '\r' || line[n - 1] == '\n'); ++cut) line[--n] = '\0';
    if (n > 0 && std::strcmp(line, name) == 0) found = 1;
  }
  std::fclose(list);
  return found;
}

// ---- the list of savegames and the typed name ----------------------------------------

// Whether `path` is a savegame the load can open: a readable plain file
// that starts with a savegame's header of a known version, beside a readable
// plain companion. Opened without waiting, so that a pipe or a device under
// a savegame's name cannot hold the page.
static bool IsSoundSavegame(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  char header[kSaveGameHeaderSize];
  const bool sound = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                     ::read(fd, header, sizeof header) == static_cast<ssize_t>(sizeof header) &&
                     ZorSaveGameHeaderVersion(header, sizeof header) != 0;
  ::close(fd);
  if (!sound) return false;
  const std::string companion = ZorCompanionName(path);
  return ::stat(companion.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(companion.c_str(), R_OK) == 0;
}

int CZorvaWorld::MakeLoadSaveGamesFromDirectory(const char*, bool keepMode) {
  if (!keepMode && m_pGottModus) m_pGottModus->m_ListingMode = m_pGottModus->GetGameModus();
  for (auto& entry : m_LoadSaveNames) entry[0] = '\0';
  m_LoadSaveCount = 0;
  m_SaveLoadFile = -1;
  const std::string extension = ZorSaveExtension(GameModeForListing());
  if (extension.empty()) return 0;
  // The names of the files that end in the mode's extension, exactly as the
  // load puts it behind a name, and whose names a savegame may have.
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(kSaveDir)) {
    while (const dirent* entry = ::readdir(dir)) {
      const std::string file = entry->d_name;
      if (file.size() <= extension.size() || file.compare(file.size() - extension.size(), extension.size(), extension) != 0)
        continue;
      std::string name = file.substr(0, file.size() - extension.size());
      if (ZorIsValidSaveName(name.c_str())) names.push_back(std::move(name));
    }
    ::closedir(dir);
  } else {
    QNO_LOG("Cannot open the directory '%s': %s", kSaveDir, std::strerror(errno));
  }
  // The table holds the first kMaxSaveNames sound games by name.
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    if (m_LoadSaveCount >= kMaxSaveNames) break;
    if (!IsSoundSavegame(SavePath(name + extension))) continue;
    std::memcpy(m_LoadSaveNames[m_LoadSaveCount].data(), name.c_str(), name.size() + 1);
    ++m_LoadSaveCount;
  }
  return m_LoadSaveCount;
}

void CZorvaWorld::SetSaveLoadFile(int i) {
  m_SaveLoadFile = i;
  if (i >= 0 && i < kMaxSaveNames && i < m_LoadSaveCount && m_LoadSaveNames[i][0])
    std::snprintf(m_EntryName, sizeof m_EntryName, "%s", m_LoadSaveNames[i].data());
  else
    std::snprintf(m_EntryName, sizeof m_EntryName, "%s", kNoFileSelected);
  EndNameEntry();
}

const char* CZorvaWorld::GetLoadSaveName() {
  m_EntryName[kSaveNameSize - 1] = '\0';
  return m_EntryName;
}

const char* CZorvaWorld::GetLoadSaveName(int i, bool) {
  if (i < 0 || i >= kMaxSaveNames || i >= m_LoadSaveCount) return nullptr;
  return m_LoadSaveNames[i].data();
}

void CZorvaWorld::ResetLoadSaveName() {
  m_EntryName[0] = '\0';
  m_EntryCursor = 0;
}

void CZorvaWorld::SetLoadSaveName(const char* text) {
  std::snprintf(m_EntryName, sizeof m_EntryName, "%s", text ? text : "");
}

void CZorvaWorld::AktivateEingabe() {
  m_EntryActive = 1;
  m_EntryCursor = 0;
}

void CZorvaWorld::DeaktivateEingabe() { EndNameEntry(); }

bool CZorvaWorld::CheckSelectedLoadSaveName() {
  const int i = m_SelectedLoadSaveName;
  if (i < 0 || i >= kMaxSaveNames || i >= m_LoadSaveCount || !m_LoadSaveNames[i][0] || !m_EntryName[0]) return false;
  return std::strcmp(m_LoadSaveNames[i].data(), GetLoadSaveName()) == 0;
}
