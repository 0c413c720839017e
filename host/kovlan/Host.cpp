#include "host/kovlan/Host.h"

#include "host/kovlan/Board.h"

namespace kovlan {

Host& Host::CreateInstance() {
  static Host host;
  instance_ = &host;
  RefreshPlain();
  return host;
}

Host::Host() { Reset(); }

Host::~Host() { plain_ = nullptr; }

void Host::Reset() {
  objects.Reset();
  SeedTemplates(objects);
  board::Seed(objects);
  exchange.Reset(objects);
  classes.Clear();
  progress.Reset();
  journal.Clear();
  RefreshPlain();
}

}  // namespace kovlan
