#pragma once
// What the benchmarks of the whole game share: the game started headless
// on the generated game data in a folder of its own, with a hand-driven
// clock, and put away with its folder at the end.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "world/zor_world.h"

namespace benchworld {

struct Game {
  // `extraSettings`: lines added to the settings file.
  explicit Game(const char* prefix, const char* extraSettings = "") {
    std::string pattern = std::string("/tmp/") + prefix + "_XXXXXX";
    dir = mkdtemp(pattern.data()) ? pattern : "";
    if (dir.empty() || chdir(dir.c_str()) != 0) return;
    if (FILE* f = std::fopen("ZORVANTA.INI", "w")) {
      std::fprintf(f, "[Allgemein]\nWADPATH=%s\nSOUNDEFFEKTE=0\nSOUNDATMO=0\nSOUNDMUSIK=0\n%s", ZOR_GAMEDATA_DIR,
                   extraSettings);
      std::fclose(f);
    }
    OpenErrorLog("errors.log");
    // Headless unless the caller chose drivers: with none chosen SDL would
    // pick the first it finds, from a window to text art in the terminal,
    // and the figures would measure that driver.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::strcpy(CZorvaWorld::m_sIniFile, "ZORVANTA.INI");
    ZorSetClock(&clock);
    world = std::make_unique<CZorvaWorld>();
    world->Create();
    world->OnStartup();
  }
  ~Game() {
    if (world) {
      world->OnShutdown();
      world->Destroy();
    }
    ZorSetClock(nullptr);
    CloseErrorLog();
    if (!dir.empty()) std::system(("rm -rf " + dir).c_str());
  }
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;
  std::string dir;
  ZorManualClock clock{1000};
  std::unique_ptr<CZorvaWorld> world;
};

}  // namespace benchworld
