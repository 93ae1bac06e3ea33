#pragma once
// The message system: adviser and event messages.
// Stand-in: only what the world's start-up and turn use.

class CMessage {
 public:
  virtual ~CMessage() = default;
  // Blocks new messages for that many seconds and clears the current ones.
  virtual int ResetMessage(int seconds);
  virtual int SetBeraterZielMessage();
  // Every running turn.
  virtual int CheckWaitMessage();
};
