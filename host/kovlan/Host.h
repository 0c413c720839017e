// The in-memory host PCB editor behind the module's entry points: one
// instance, made of parts that each answer their own calls:
// - objects: the objects and the board by handle, their records and
//   containers (ObjectStore; the board's defaults and layer stack in
//   Board.h, attributes by name or position in Attributes.h);
// - exchange: how the entry points' attributes move in and out of them
//   (TypedExchange);
// - journal: the host-call journal (CallJournal; the fault switches are
//   faults::);
// - progress and classes: the progress indicator and the class members.
#pragma once

#include "host/kovlan/CallJournal.h"
#include "host/kovlan/ClassMembers.h"
#include "host/kovlan/Faults.h"
#include "host/kovlan/ObjectStore.h"
#include "host/kovlan/Progress.h"
#include "host/kovlan/TypedExchange.h"

namespace kovlan {

class Host {
 public:
  static Host& Instance() {
    if (instance_ == nullptr) [[unlikely]]
      return CreateInstance();
    return *instance_;
  }
  // The host while it exists and its exchanges take their plain road: no
  // journal to write and no fault switched on. Null otherwise.
  static const Host* Plain() noexcept { return plain_; }
  // Brings Plain() up to date; called whenever the journal, a fault switch
  // or the instance changes.
  static void RefreshPlain() noexcept {
    const Host* host = instance_;
    plain_ = host != nullptr && !host->journal.On() && !faults::Active() ? host : nullptr;
  }

  // A fresh host: the default board and templates, no journal, progress or
  // class members (the fault switches are faults::ClearAll's).
  void Reset();
  void SetJournal(bool on) {
    journal.Switch(on);
    RefreshPlain();
  }

  ObjectStore objects;
  TypedExchange exchange;
  CallJournal journal;
  ProgressIndicator progress;
  ClassMembers classes;

 private:
  Host();
  ~Host();
  static Host& CreateInstance();
  static inline Host* instance_ = nullptr;
  static inline const Host* plain_ = nullptr;  // see Plain()
};

}  // namespace kovlan
