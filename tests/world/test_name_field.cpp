// The savegame name field on the real game, under every key at every
// length: the name stays a terminated text of at most 13 characters, the
// cursor stays on it, the world's fields beside the name keep their values,
// and the name is what a plain model of the field says it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "framework/qno_event.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

constexpr int kMaxName = 13;
constexpr int kEnd = 279, kHome = 278;  // SDL's symbols, which pass translation unchanged

bool IsNameCharacter(int c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// The field as the player sees it: text edited on the key's release; the
// character a key reports (its code where it reports none) goes in at the
// cursor when names may hold it (upper case, the 14th falls off) and moves
// the cursor on up to the 13th place; the cursor never goes behind the text,
// Home takes it to the start and End as far as it goes.
struct FieldModel {
  std::string name;
  int cursor = 0;

  int Last() const { return std::min(static_cast<int>(name.size()), kMaxName - 1); }
  void Release(int key, int character = 0) {
    const int typed = character != 0 ? character : key;
    if (IsNameCharacter(typed)) {
      name.insert(name.begin() + cursor, static_cast<char>(std::toupper(typed)));
      if (name.size() > kMaxName) name.resize(kMaxName);
      if (cursor < kMaxName - 1) ++cursor;
    } else if (key == QNO_KEY_DELETE) {
      if (cursor < static_cast<int>(name.size())) name.erase(name.begin() + cursor);
    } else if (key == QNO_KEY_BACKSPACE) {
      if (cursor > 0) name.erase(name.begin() + --cursor);
    } else if (key == QNO_KEY_LEFT) {
      if (cursor > 0) --cursor;
    } else if (key == QNO_KEY_RIGHT) {
      if (cursor < Last()) ++cursor;
    } else if (key == kHome) {
      cursor = 0;
    } else if (key == kEnd) {
      cursor = Last();
    }
  }
};

int Send(CZorvaWorld& world, int type, int key, int character = 0) {
  QnoInteractionEvent e;
  e.type = type;
  e.x = key;
  e.character = character;
  return world.InputFilter(&e, nullptr);
}

// What lies around the name in the world and must not change while it is typed.
struct Neighbours {
  std::vector<std::string> names;
  int count = 0, selected = 0;

  static Neighbours Of(CZorvaWorld& world) {
    Neighbours n;
    n.count = world.GetLoadSaveMaxName();
    n.selected = world.GetSelectedLoadSaveName();
    for (int i = 0; i < CZorvaWorld::kMaxSaveNames; ++i) {
      const char* name = world.GetLoadSaveName(i, false);
      n.names.push_back(name ? name : "<none>");
    }
    return n;
  }
  bool operator==(const Neighbours& o) const { return names == o.names && count == o.count && selected == o.selected; }
};

// Two saved games in the list and a chosen row, so that a write beside the
// name shows.
Neighbours FillNeighbours(CZorvaWorld& world) {
  for (const char* name : {"EAST", "WEST"}) {
    world.SetLoadSaveName(name);
    EXPECT_EQ(world.SaveGame(), 0) << name;
  }
  EXPECT_EQ(world.MakeLoadSaveGamesFromDirectory(nullptr, false), 2);
  world.SetSelectedLoadSaveName(0x5A5A5A5A);
  return Neighbours::Of(world);
}

void ExpectField(CZorvaWorld& world, const FieldModel& model, const Neighbours& around, const std::string& what) {
  const char* name = world.GetLoadSaveName();
  ASSERT_NE(std::memchr(name, '\0', kMaxName + 1), nullptr) << what << ": the name is terminated within 13 characters";
  const int length = static_cast<int>(std::strlen(name));
  const int cursor = world.GetEingabeBuchstaben();
  ASSERT_GE(cursor, 0) << what;
  ASSERT_LE(cursor, std::min(length, kMaxName - 1)) << what;
  ASSERT_EQ(name, model.name) << what;
  ASSERT_EQ(cursor, model.cursor) << what;
  ASSERT_TRUE(world.IsEingabeAktiv()) << what;
  ASSERT_TRUE(Neighbours::Of(world) == around) << what << ": a field beside the name changed";
}

TEST(NameField, RightBehindAFullNameThenALetterReplacesTheLastOne) {
  Scenario game;
  CZorvaWorld& world = game.World();
  const Neighbours around = FillNeighbours(world);
  world.AktivateEingabe();
  world.ResetLoadSaveName();
  FieldModel model;
  for (int key : std::initializer_list<int>{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', QNO_KEY_RIGHT,
                                            QNO_KEY_RIGHT, 'X'}) {
    Send(world, QNO_EVENT_KEYUP, key);
    model.Release(key);
    ExpectField(world, model, around, "key " + std::to_string(key));
  }
  EXPECT_STREQ(world.GetLoadSaveName(), "ABCDEFGHIJKLX");
  EXPECT_EQ(world.GetEingabeBuchstaben(), 12);
  // From the end of a shorter name Right goes no further.
  Send(world, QNO_EVENT_KEYUP, QNO_KEY_BACKSPACE);
  Send(world, QNO_EVENT_KEYUP, QNO_KEY_DELETE);
  EXPECT_STREQ(world.GetLoadSaveName(), "ABCDEFGHIJK");
  EXPECT_EQ(world.GetEingabeBuchstaben(), 11);
  Send(world, QNO_EVENT_KEYUP, QNO_KEY_RIGHT);
  EXPECT_EQ(world.GetEingabeBuchstaben(), 11);
}

TEST(NameField, EndTakesTheCursorBehindTheNameOrOnTheLastPlaceOfAFullOne) {
  Scenario game;
  CZorvaWorld& world = game.World();
  const struct {
    const char* name;
    int end;
  } names[] = {{"HARBOUR", 7}, {"", 0}, {"ABCDEFGHIJKLM", 12}};
  for (const auto& n : names) {
    world.SetLoadSaveName(n.name);
    world.AktivateEingabe();
    Send(world, QNO_EVENT_KEYUP, kEnd);
    EXPECT_EQ(world.GetEingabeBuchstaben(), n.end) << n.name;
  }
  Send(world, QNO_EVENT_KEYUP, 'S');
  EXPECT_STREQ(world.GetLoadSaveName(), "ABCDEFGHIJKLS");
  // Home takes the cursor to the start.
  Send(world, QNO_EVENT_KEYUP, kHome);
  EXPECT_EQ(world.GetEingabeBuchstaben(), 0);
  Send(world, QNO_EVENT_KEYUP, 'Z');
  EXPECT_STREQ(world.GetLoadSaveName(), "ZABCDEFGHIJKL");
}

// The save page's name field, filled with a saved game's name: a press
// behind the name puts the cursor at its end, so that the player's
// Backspaces take the old name away and what is typed then is the whole
// new name; a press on the name's first character puts it at the start.
TEST(NameField, APressOnAFilledNamePutsTheCursorWhereItLands) {
  Scenario game;
  CZorvaWorld& world = game.World();
  game.Run({Move(400, 250), Wait(40)});
  game.Key(SDLK_PAGEDOWN).Do(Wait(100));
  constexpr int kSavePage = 162, kFieldX = 12, kFieldY = 244 + 9;
  ASSERT_TRUE(game.IsOpen(kSavePage));
  world.SetLoadSaveName("RINGSTADT");
  ASSERT_TRUE(game.ClickIn(kSavePage, kFieldX + 150, kFieldY));
  ASSERT_TRUE(world.IsEingabeAktiv());
  EXPECT_EQ(world.GetEingabeBuchstaben(), 9);
  for (int i = 0; i < 9; ++i) game.Key(SDLK_BACKSPACE).Do(Wait(60));
  game.TypeOnUsKeyboard("RING2");
  EXPECT_STREQ(world.GetLoadSaveName(), "RING2");
  ASSERT_TRUE(game.ClickIn(kSavePage, kFieldX + 1, kFieldY));
  EXPECT_EQ(world.GetEingabeBuchstaben(), 0);
  game.TypeOnUsKeyboard("X");
  EXPECT_STREQ(world.GetLoadSaveName(), "XRING2");
  // Within the name, the cursor goes between the characters pressed on.
  ASSERT_TRUE(game.ClickIn(kSavePage, kFieldX + 150, kFieldY));
  const int end = world.GetEingabeBuchstaben();
  EXPECT_EQ(end, 6);
  int inside = -1;
  for (int column = 2; column < 150 && inside < 0; ++column) {
    ASSERT_TRUE(game.ClickIn(kSavePage, kFieldX + column, kFieldY));
    if (world.GetEingabeBuchstaben() != 0) inside = world.GetEingabeBuchstaben();
  }
  EXPECT_EQ(inside, 1) << "the first place the cursor takes after the start is behind the first character";
  game.Key(SDLK_END).Do(Wait(60));
  EXPECT_EQ(world.GetEingabeBuchstaben(), 6);
  game.Key(SDLK_HOME).Do(Wait(60));
  EXPECT_EQ(world.GetEingabeBuchstaben(), 0);
}

// The key codes follow a German keyboard (Y and Z exchanged); the character
// the platform reports is the one printed on the player's key.
TEST(NameField, TheCharacterTheKeyReportsIsTheOneTyped) {
  Scenario game;
  CZorvaWorld& world = game.World();
  world.ResetLoadSaveName();
  world.AktivateEingabe();
  const struct {
    int key, character;
  } keys[] = {
      {'Z', 'y'},  // the key marked Y on a US keyboard
      {'Y', 'z'},
      {'-', '_'},  // Shift and the minus key
      {'7', '/'},  // no part of a name
      {'A', 0xE4},  // a letter beyond ASCII
      {'A', 1},     // Ctrl and A
      {261, '5'},   // the keypad's 5
      {'Q', 0},     // a key that reports nothing types its code
  };
  for (const auto& k : keys) {
    Send(world, QNO_EVENT_KEYDOWN, k.key, k.character);
    Send(world, QNO_EVENT_KEYUP, k.key, k.character);
    Clock().Advance(60);
  }
  EXPECT_STREQ(world.GetLoadSaveName(), "YZ_5Q");
}

// Random keys, presses, releases and pauses, from names of every length.
TEST(NameField, AStormOfKeysKeepsTheFieldWhole) {
  Scenario game;
  CZorvaWorld& world = game.World();
  const Neighbours around = FillNeighbours(world);
  std::vector<int> keys = {QNO_KEY_LEFT, QNO_KEY_RIGHT, QNO_KEY_DELETE, QNO_KEY_BACKSPACE, kEnd, kHome};
  const std::string typed = "AZY09-_bq";
  keys.insert(keys.end(), typed.begin(), typed.end());
  // Keys that are no part of the field: arrows up and down, Escape, Shift,
  // the space, a slash, F1, keypad plus, and codes no key has.
  const std::vector<int> others = {QNO_KEY_UP, QNO_KEY_DOWN, QNO_KEY_ESCAPE, QNO_KEY_SHIFT, ' ', '/', QNO_KEY_F1,
                                   QNO_KEY_KP_PLUS, 0, -1, 255, 1 << 20};
  for (unsigned seed : {1u, 7u, 42u, 2024u}) {
    std::mt19937 random(seed);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 6; ++round) {
      FieldModel model;
      for (int i = pick(kMaxName + 1); i > 0; --i) model.name += typed[static_cast<size_t>(pick(7))];
      world.SetLoadSaveName(model.name.c_str());
      world.AktivateEingabe();
      for (int step = 0; step < 300; ++step) {
        const int key = pick(5) == 0 ? others[static_cast<size_t>(pick(static_cast<int>(others.size())))]
                                     : keys[static_cast<size_t>(pick(static_cast<int>(keys.size())))];
        const int how = pick(10);  // 0-6 press and release, 7-8 release only, 9 press only
        const std::string what = "seed " + std::to_string(seed) + " round " + std::to_string(round) + " step " +
                                 std::to_string(step) + " key " + std::to_string(key);
        // Most keys report no character, some a character of a name, some
        // one that is none.
        const int reported = pick(3) == 0 ? typed[static_cast<size_t>(pick(static_cast<int>(typed.size())))]
                             : pick(4) == 0 ? pick(300)
                                            : 0;
        if (how <= 6 || how == 9) {
          EXPECT_EQ(Send(world, QNO_EVENT_KEYDOWN, key, reported), 0) << what;
        }
        if (how <= 8) {
          EXPECT_EQ(Send(world, QNO_EVENT_KEYUP, key, reported), 0) << what;
          model.Release(key, reported);
        }
        ExpectField(world, model, around, what);
        if (HasFatalFailure()) return;
        Clock().Advance(static_cast<uint32_t>(pick(100)));
      }
    }
  }
  // The chord keys of the debug lock may have come by in the storm.
  CUserInt::m_ActivateDebugInfo = 0;
}

}  // namespace
