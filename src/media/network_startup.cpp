#include "media/network_startup.h"

namespace kiv {
namespace {

// The version of the socket interface in use (2.2), 0 until started.
unsigned short networkVersion = 0;

}  // namespace

bool NetworkStartUp() {
  if (networkVersion != 0) return true;
  networkVersion = 0x0202;
  return true;
}

void NetworkReset() { networkVersion = 0; }

}  // namespace kiv
