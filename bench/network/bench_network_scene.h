#pragma once
// The street network the network benchmarks work on: a map without
// pictures, the demand simulation and a grid of streets built with the
// street tool's operation.
#include <cstdio>
#include <memory>

#include "../../tests/network/network_object_host.h"
#include "../../tests/sim/sim_test_city.h"
#include "../../tests/sim/sim_work_dir.h"
#include "framework/qno_resource.h"
#include "iso/iso_welt.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/crossing_objects.h"
#include "network/street_objects.h"

namespace netbench {

inline bool g_failed = false;

using BenchHost = NetObjectHost;

// How the grid is built: cell by cell, or with the first column and every
// row drawn whole before the other columns go in cell by cell. The second
// order splits fewer streets, so it takes fewer of the demand model's
// street ids, which are never given twice: a 60 x 60 grid built cell by
// cell runs out of them.
enum class GridOrder { kCellByCell, kLongRows };

// A map without pictures, the demand simulation and a grid of k x k nodes
// `step` cells apart (the corners are bends, so k * k - 4 junctions).
struct Network {
  // `resources`: the game data the map draws from; none for a map without
  // pictures.
  Network(int k, int step, GridOrder order = GridOrder::kCellByCell,
          QnoResourceManager* resources = nullptr)
      : k(k), step(step) {
    map = std::make_unique<CIsoWelt>(&host, resources, nullptr);
    map->OnCreate();
    for (int type : {1, 2, 3, 4}) map->DefineStreet(type, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 600);
    sim = std::make_unique<CSimWelt>(&parts);
    if (!simtest::InSimWorkDir([&] { return sim->Create(nullptr); })) g_failed = true;
    CStrStrassenTeil::m_pIsoWelt = map.get();
    CStrExtTeil::m_pIsoWelt = map.get();
    net = std::make_unique<CStrJunctionList>(map.get(), sim.get());
    net->Create();
    if (order == GridOrder::kLongRows) {
      Expect(Build(0, 0, 0, k - 1), STR_BUILD_OK);
      for (int j = 0; j < k; ++j) Expect(Build(0, j, k - 1, j), STR_BUILD_OK);
    } else {
      for (int j = 0; j < k; ++j)
        for (int i = 0; i + 1 < k; ++i) {
          if (j > 0 && i == 0) Expect(Build(0, j - 1, 0, j), STR_BUILD_OK);
          Expect(Build(i, j, i + 1, j), STR_BUILD_OK);
        }
    }
    for (int i = 1; i < k; ++i)
      for (int j = 0; j + 1 < k; ++j) Expect(Build(i, j, i, j + 1), STR_BUILD_OK);
    Expect(static_cast<int>(net->GetNumber()), k * k - 4);
  }
  ~Network() {
    net->Destroy();
    net.reset();
    CStrStrassenTeil::m_pIsoWelt = nullptr;
    CStrExtTeil::m_pIsoWelt = nullptr;
    sim->Destroy();
    sim.reset();
    map.reset();
  }
  int Build(int i1, int j1, int i2, int j2) {
    CStrBuildLine line(static_cast<short>(i1 * step), static_cast<short>(j1 * step), static_cast<short>(i2 * step),
                       static_cast<short>(j2 * step));
    return net->CreateStreet(&line, STRASSE_1);
  }
  CStrStrasse* StreetAt(int i, int j) {
    CStrStrasse* s = nullptr;
    CStrStrassenTeil* piece = nullptr;
    net->PointHitStreet(static_cast<short>(i * step + 1), static_cast<short>(j * step), &s, &piece);
    return s;
  }
  static void Expect(int got, int want) {
    if (got != want) {
      std::fprintf(stderr, "network_bench: got %d, expected %d\n", got, want);
      g_failed = true;
    }
  }

  int k, step;
  BenchHost host;
  simtest::TestParts parts;
  std::unique_ptr<CIsoWelt> map;
  std::unique_ptr<CSimWelt> sim;
  std::unique_ptr<CStrJunctionList> net;
};

#ifdef ZOR_GAMEDATA_DIR
// The generated game data, loaded once per program, for scenes that draw.
inline QnoResourceManager* GameData() {
  static QnoResourceManager* resources = [] {
    auto* r = new QnoResourceManager;
    char path[1024];
    QnoMakeValidPathname(ZOR_GAMEDATA_DIR, "ZORVANTA", ".GLA", path, sizeof path);
    Network::Expect(r->AddWadFile(path), 0);
    return r;
  }();
  return resources;
}
#endif

}  // namespace netbench
