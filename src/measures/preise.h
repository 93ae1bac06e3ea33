#pragma once
// The price table of everything the council can build or buy.
// Stand-in: only what the world's start-up uses.

class CPreise {
 public:
  virtual ~CPreise() = default;
  // Fills the static price table; the caller keeps and deletes the object.
  static CPreise* SetPreise();
};
