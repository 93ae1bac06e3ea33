#include "world/zor_frame_loop.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "world/zor_world.h"

CZorvaWorld* dazoR = nullptr;
unsigned char Leave_Game = 0;

namespace {

// The last end signal that arrived; the handler only notes it, the loop
// acts on it between two passes.
volatile std::sig_atomic_t g_endSignal = 0;

extern "C" void ZorNoteEndSignal(int signal) { g_endSignal = signal; }

}  // namespace

// SDL turns an interrupt or a termination into a quit event that tells
// nothing of where it came from; the loop's own handlers take their place,
// so that an end from outside can be told apart in the log from a window
// closed and from the player's quit.
CZorFrameLoop::CZorFrameLoop(CZorvaWorld* world) : m_world(world) {
  g_endSignal = 0;
  struct sigaction note {};
  note.sa_handler = ZorNoteEndSignal;
  // A write or a wait the signal falls into goes on; the loop ends after it.
  note.sa_flags = SA_RESTART;
  sigemptyset(&note.sa_mask);
  for (size_t i = 0; i < kEndSignals.size(); ++i) sigaction(kEndSignals[i], &note, &m_foundActions[i]);
}

CZorFrameLoop::~CZorFrameLoop() {
  for (size_t i = 0; i < kEndSignals.size(); ++i) sigaction(kEndSignals[i], &m_foundActions[i], nullptr);
  g_endSignal = 0;
}

void CZorFrameLoop::Leave(const char* why) {
  if (!Leave_Game) QNO_LOG("The game ends: %s", why);
  Leave_Game = 1;
}

int TranslateKeyCodes(int key) {
  if (key >= 'a' && key <= 'z') key -= 32;
  switch (key) {
    case SDLK_UP: return QNO_KEY_UP;
    case SDLK_DOWN: return QNO_KEY_DOWN;
    case SDLK_LEFT: return QNO_KEY_LEFT;
    case SDLK_RIGHT: return QNO_KEY_RIGHT;
    case SDLK_ESCAPE: return QNO_KEY_ESCAPE;
    case SDLK_DELETE: return QNO_KEY_DELETE;
    case SDLK_KP_PLUS: return QNO_KEY_KP_PLUS;
    case SDLK_KP_MINUS: return QNO_KEY_KP_MINUS;
    case SDLK_BACKSPACE: return QNO_KEY_BACKSPACE;
    case SDLK_RSHIFT: case SDLK_LSHIFT: return QNO_KEY_SHIFT;
    case SDLK_RCTRL: case SDLK_LCTRL: return QNO_KEY_CTRL;
    case SDLK_RALT: case SDLK_LALT: return QNO_KEY_ALT;
    case 'Y': return 'Z';
    case 'Z': return 'Y';
    default: break;
  }
  if (key >= SDLK_PAGEDOWN && key <= SDLK_F11) return key - 259;
  return key;
}

bool Kfx_Event_ConvertFrom_KFX2QNO(const SDL_Event* sdl, QnoInteractionEvent* event) {
  if (!sdl || !event) return false;
  switch (sdl->type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      event->type = sdl->type == SDL_KEYDOWN ? QNO_EVENT_KEYDOWN : QNO_EVENT_KEYUP;
      event->x = TranslateKeyCodes(sdl->key.keysym.sym);
      event->character = sdl->key.keysym.unicode;
      return true;
    case SDL_MOUSEMOTION:
      event->type = QNO_EVENT_MOUSEMOVE;
      event->character = 0;
      event->x = sdl->motion.x;
      event->y = sdl->motion.y;
      event->button = sdl->motion.state;
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      // A wheel turn arrives as a press and release of a button of its
      // own; it is no click of the right button and does nothing.
      if (sdl->button.button == SDL_BUTTON_WHEELUP || sdl->button.button == SDL_BUTTON_WHEELDOWN) return false;
      event->type = sdl->type == SDL_MOUSEBUTTONDOWN ? QNO_EVENT_BUTTONDOWN : QNO_EVENT_BUTTONUP;
      event->x = sdl->button.x;
      event->y = sdl->button.y;
      event->button = sdl->button.button <= 1 ? 0 : 1;
      event->character = 0;
      return true;
    default:
      return false;
  }
}

const char* ZorChooseIniFile(const char* programPath) {
  if (programPath && std::strstr(programPath, "dazor.exe")) return "DAZOR.INI";
  return "ZORVANTA.INI";
}

static bool ZorMustLock(SDL_Surface* s) {
  return s && (s->offset != 0 || (s->flags & (SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_RLEACCEL)) != 0);
}

// SDL reports the typed character only when the key goes down; the key's
// release carries the same character, so that what acts on the release
// (the savegame name field) types what the key shows.
void CZorFrameLoop::CarryKeyCharacter(const SDL_Event& sdl) {
  if (sdl.type != SDL_KEYDOWN && sdl.type != SDL_KEYUP) return;
  const unsigned sym = static_cast<unsigned>(sdl.key.keysym.sym);
  if (sym >= m_keyCharacters.size()) return;
  if (sdl.type == SDL_KEYDOWN) {
    m_keyCharacters[sym] = m_event.character;
    return;
  }
  if (m_event.character == 0) m_event.character = m_keyCharacters[sym];
  m_keyCharacters[sym] = 0;
}

bool CZorFrameLoop::Iterate() {
  SDL_Event sdl;
  QnoDisplay* display = m_world->GetDisplay();
  while (SDL_PollEvent(&sdl)) {
    if (Kfx_Event_ConvertFrom_KFX2QNO(&sdl, &m_event)) {
      CarryKeyCharacter(sdl);
      m_world->InputFilter(&m_event, CZorvaWorld::m_pView);
    }
    // Switching away from the game may swallow a button's release.
    if (sdl.type == SDL_ACTIVEEVENT && sdl.active.gain == 0 && (sdl.active.state & SDL_APPINPUTFOCUS) != 0)
      m_world->InputFocusLost();
    if (sdl.type == SDL_QUIT) Leave("its window was closed");
  }
  if (const int signal = g_endSignal; signal != 0) {
    const std::string why = "signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
    Leave(why.c_str());
  }
  if (Leave_Game) return false;
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  if (buffer) buffer->SetSurface(SDL_GetVideoSurface());
  m_world->OnPlayloopTurn();
  SDL_Surface* screen = m_world->GetScreen();
  const bool lock = ZorMustLock(screen);
  SDL_Surface* target = buffer ? buffer->GetSurface() : nullptr;
  if (lock && target) SDL_LockSurface(target);
  // Nothing but the loop's frames draws into the screen, and a screen
  // shown by copying it keeps its pixels: each frame finds the last one
  // there. A screen that flips between two pages holds the one before.
  if (buffer) buffer->SetPictureKept(target && (target->flags & SDL_DOUBLEBUF) != SDL_DOUBLEBUF);
  m_world->Render(display);
  if (lock && target) SDL_UnlockSurface(target);
  m_world->FlipBuffer();
  if (buffer) buffer->SetPictureKept(false);
  ++m_frames;
  if (Leave_Game) return false;
  // While an hour is computed the turns follow each other at once, each
  // with its share of computing, as fast as before the loop was paced.
  m_lastWait = m_world->HasComputationDue() ? 0 : m_pacer.WaitForNextFrame();
  return true;
}

int zor_main(int argc, char** argv) {
  OpenErrorLog("errors.log");
  std::atexit(CloseErrorLog);
  std::strncpy(CZorvaWorld::m_sIniFile, ZorChooseIniFile(argc > 0 ? argv[0] : nullptr),
               sizeof CZorvaWorld::m_sIniFile - 1);
  dazoR = new CZorvaWorld;
  dazoR->Create();
  dazoR->OnStartup();
  Leave_Game = 0;
  CZorFrameLoop loop(dazoR);
  while (loop.Iterate()) {
  }
  dazoR->OnShutdown();
  dazoR->Destroy();
  delete dazoR;
  dazoR = nullptr;
  return 0;
}
