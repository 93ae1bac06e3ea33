// Opening the game menu's load page over a savegame folder of 200 saved
// games of the free game (each with its companion) and a few entries that
// are no games: a directory, a pipe, a file without a savegame's header and
// a name no savegame has. The game runs headless on the generated game data.
//
// BM_OpenLoadPage: the load page opened in the window tree as the menu's
// tab opens it; its opening lists the folder (closing it again is not
// timed). BM_ReadFolderYardstick: the same folder read with
// opendir/readdir alone, in the same run, so the page reads as a ratio.
//
// Checked after every opening: the page lists fifty games, the first fifty
// by name, and none of the entries that are no games. A failed check makes
// the program exit non-zero.
#include <benchmark/benchmark.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "gui/screen_window.h"
#include "model/gott_modus.h"
#include "ui/user_int.h"
#include "world/zor_savegame.h"
#include "world/zor_world.h"

namespace {

bool g_failed = false;

void Fail(benchmark::State& state, const char* what) {
  std::fprintf(stderr, "world_load_page_bench: %s\n", what);
  g_failed = true;
  state.SkipWithError(what);
}

constexpr int kGames = 200;
constexpr int kLoadPage = 161;

std::string GameName(int i) {
  char name[16];
  std::snprintf(name, sizeof name, "Town %03d", i);
  return name;
}

struct Game {
  Game() {
    char pattern[] = "/tmp/zor_loadpage_XXXXXX";
    dir = mkdtemp(pattern) ? pattern : "";
    if (dir.empty() || chdir(dir.c_str()) != 0) return;
    if (FILE* f = std::fopen("ZORVANTA.INI", "w")) {
      std::fprintf(f, "[Allgemein]\nWADPATH=%s\nSOUNDEFFEKTE=0\nSOUNDATMO=0\n", ZOR_GAMEDATA_DIR);
      std::fclose(f);
    }
    OpenErrorLog("errors.log");
    std::strcpy(CZorvaWorld::m_sIniFile, "ZORVANTA.INI");
    ZorSetClock(&clock);
    world = std::make_unique<CZorvaWorld>();
    world->Create();
    world->OnStartup();
    world->GetGottModus()->SetGameModus(GAME_NORMAL);
    // One saved game, and the others as links to its two files.
    world->SetLoadSaveName("Town 000");
    ready = world->SaveGame() == 0;
    for (int i = 1; ready && i < kGames; ++i) {
      const std::string to = "SaveGame/" + GameName(i) + ".GMD";
      ready = link("SaveGame/Town 000.GMD", to.c_str()) == 0 &&
              link("SaveGame/Town 000.GMM", ZorCompanionName(to).c_str()) == 0;
    }
    ready = ready && mkdir("SaveGame/Folder.GMD", 0755) == 0 && mkfifo("SaveGame/Pipe.GMD", 0644) == 0 &&
            link("SaveGame/Town 000.GMM", "SaveGame/Pipe.GMM") == 0;
    if (FILE* f = std::fopen("SaveGame/Notes.GMD", "w")) {
      std::fputs("no savegame", f);
      std::fclose(f);
    }
    ready = ready && link("SaveGame/Town 000.GMD", "SaveGame/A.B.GMD") == 0;
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
  std::string dir;
  ZorManualClock clock{1000};
  std::unique_ptr<CZorvaWorld> world;
  bool ready = false;
};

Game* g_game = nullptr;

bool ListIsRight(CZorvaWorld& world) {
  if (world.GetLoadSaveMaxName() != CZorvaWorld::kMaxSaveNames) return false;
  for (int i = 0; i < CZorvaWorld::kMaxSaveNames; ++i) {
    const char* name = world.GetLoadSaveName(i, false);
    if (!name || GameName(i) != name) return false;
  }
  return true;
}

void BM_OpenLoadPage(benchmark::State& state) {
  CZorvaWorld& world = *g_game->world;
  CScreenWindow* root = CUserInt::topWindow;
  if (!root || !root->GetWindowByID(kLoadPage)) Fail(state, "no load page");
  for (auto _ : state) {
    root->ActivateWindow(kLoadPage, OVER_SINGLE);
    state.PauseTiming();
    if (!ListIsRight(world)) Fail(state, "the page does not list the first fifty games");
    root->DeActivateWindow(kLoadPage, OVER_SINGLE);
    state.ResumeTiming();
  }
  state.counters["listed"] = world.GetLoadSaveMaxName();
}

void BM_ReadFolderYardstick(benchmark::State& state) {
  int entries = 0;
  for (auto _ : state) {
    entries = 0;
    if (DIR* dir = opendir("SaveGame")) {
      while (const dirent* e = readdir(dir)) {
        benchmark::DoNotOptimize(e->d_name[0]);
        ++entries;
      }
      closedir(dir);
    }
  }
  // Two files per game, five other entries, "." and "..".
  if (entries != 2 * kGames + 5 + 2) Fail(state, "the folder does not hold what was made");
  state.counters["entries"] = entries;
}

BENCHMARK(BM_OpenLoadPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFolderYardstick)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  auto game = std::make_unique<Game>();
  g_game = game.get();
  if (!game->ready) {
    std::fprintf(stderr, "world_load_page_bench: the savegame folder could not be made\n");
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  game.reset();
  return g_failed ? 1 : 0;
}
