#pragma once
// The message system: adviser and event messages.
// Stand-in: only what the world's start-up and turn use, and the texts of
// the warning and question windows, and the language switch of the window
// tree.
#include <string>

class CScreenWindow;

class CMessage {
 public:
  virtual ~CMessage() = default;
  // Blocks new messages for that many seconds and clears the current ones.
  virtual int ResetMessage(int seconds);
  virtual int SetBeraterZielMessage();
  // Every running turn.
  virtual int CheckWaitMessage();
  // The texts the warning window and the yes/no window show; null while
  // none was set.
  void SetAchtungMessage(const char* text) { SetText(m_Achtung, m_HasAchtung, text); }
  const char* GetAchtungMessage() const { return m_HasAchtung ? m_Achtung.c_str() : nullptr; }
  void SetAchtungJaNeinText(const char* text) { SetText(m_JaNein, m_HasJaNein, text); }
  const char* GetAchtungJaNeinText() const { return m_HasJaNein ? m_JaNein.c_str() : nullptr; }

  // The window tree whose texts follow the language; null while there is
  // none. The tree stays its builder's.
  void SetWindowTree(CScreenWindow* top) { m_pWindowTree = top; }
  // Switches to language 0 (German) or 1 (English): every item of the
  // window tree, open or closed, rebuilds its text and picture in it when
  // it is next drawn. 0.
  virtual int ChangeLanguage(int language);

 private:
  static void SetText(std::string& into, bool& has, const char* text) {
    has = text != nullptr;
    into = text ? text : "";
  }
  std::string m_Achtung, m_JaNein;
  bool m_HasAchtung = false, m_HasJaNein = false;
  CScreenWindow* m_pWindowTree = nullptr;
};
