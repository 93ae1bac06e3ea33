// Feeds arbitrary keys to the savegame name field of the running game. The
// game starts once on the generated game data (the optimised build's, or
// ZOR_FUZZ_GAMEDATA). Each input is a starting name up to its first zero
// byte, then triples of bytes: what happens (press or release), the key and
// the character the key reports. After every key the name is terminated
// within 13 characters, the cursor stands on it, and the list of savegames
// and the chosen row beside the name are as they were.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/qno_event.h"
#include "framework/zor_seams.h"
#include "fuzz_game.h"
#include "ui/user_int.h"

namespace {

constexpr int kMaxName = 13;
constexpr int kSelected = 0x5A5A5A5A;

CZorvaWorld* g_world = nullptr;
int g_count = 0;

// The keys the field knows, and some it does not; a byte picks one.
constexpr int kKeys[] = {QNO_KEY_LEFT, QNO_KEY_RIGHT, QNO_KEY_DELETE, QNO_KEY_BACKSPACE, 278, 279, QNO_KEY_UP,
                         QNO_KEY_ESCAPE, QNO_KEY_SHIFT, ' ', '-', '_', '/', 'A', 'Y', 'Z', '0', '9'};

int KeyOf(uint8_t byte) {
  constexpr int kCount = sizeof kKeys / sizeof kKeys[0];
  // Half of the bytes pick a key of the list, the others are taken as the
  // key code itself.
  return byte < 128 ? kKeys[byte % kCount] : byte - 128 + 'A' - 32;
}

void Check() {
  const char* name = g_world->GetLoadSaveName();
  if (!std::memchr(name, '\0', kMaxName + 1)) std::abort();
  const int length = static_cast<int>(std::strlen(name));
  const int cursor = g_world->GetEingabeBuchstaben();
  if (cursor < 0 || cursor > length || cursor > kMaxName - 1) std::abort();
  if (!g_world->IsEingabeAktiv()) std::abort();
  if (g_world->GetLoadSaveMaxName() != g_count || g_world->GetSelectedLoadSaveName() != kSelected) std::abort();
  if (g_count < 1 || std::strcmp(g_world->GetLoadSaveName(0, false), "EAST") != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_world = fuzzgame::Start("fuzz_name_field");
  g_world->SetLoadSaveName("EAST");
  if (g_world->SaveGame() != 0) std::abort();
  g_count = g_world->MakeLoadSaveGamesFromDirectory(nullptr, false);
  g_world->SetSelectedLoadSaveName(kSelected);
  // A full name, Right, and one more letter.
  const char seed[] = "ABCDEFGHIJKLM\0\x05\x01\0\x05\x0d" "x";
  fuzzgame::Write("corpus/seed_full_name_then_right", std::string(seed, sizeof seed - 1));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The game's clock is the hand-driven one the start set.
  auto* clock = static_cast<ZorManualClock*>(ZorGetClock());
  const void* zero = std::memchr(data, 0, size);
  const size_t start = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - data) : size;
  // A name longer than the field's 13 characters is cut at the first edit;
  // the starting name is one the field could hold.
  g_world->SetLoadSaveName(std::string(reinterpret_cast<const char*>(data), std::min<size_t>(start, kMaxName)).c_str());
  g_world->AktivateEingabe();
  for (size_t i = start + 1; i + 3 <= size; i += 3) {
    QnoInteractionEvent e;
    e.type = data[i] & 1 ? QNO_EVENT_KEYUP : QNO_EVENT_KEYDOWN;
    e.x = KeyOf(data[i + 1]);
    e.character = data[i + 2];
    if (g_world->InputFilter(&e, nullptr) != 0) std::abort();
    // The press of a key right after another is dropped; some pauses let
    // the presses through.
    if (data[i] & 2) clock->Advance(60);
    Check();
  }
  CUserInt::m_ActivateDebugInfo = 0;
  return 0;
}
