#pragma once
// Network start-up: the sockets of this system need no library start, so the
// first call only records that networking is ready.
namespace kiv {

bool NetworkStartUp();
// Tests start again from scratch.
void NetworkReset();

}  // namespace kiv
