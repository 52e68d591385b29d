#pragma once
// Linking the records read from files to one another: every reference pair
// (index, identifier) is looked up again by its identifier, so linking can run
// any number of times and indexes follow the records when tables change.
#include <cstdint>
#include <vector>

#include "data/lists.h"

namespace kiv {

// Rebuilds a template-flag table with one entry per actor template, in table
// order: an entry naming the template keeps its flag; a template without one
// takes the flag of its nearest listed ancestor, else 0.
void RealignTemplateFlags(std::vector<TemplateFlag>& table);

void LinkItemSet(std::int32_t item);
void LinkTileSet(std::int32_t tileSet);
void LinkSpriteSet(std::int32_t spriteSet);

// Links the objects of one map after its body was read: its sprite sets, the
// weather, the background sprites, every actor's template and references, the
// fields' sprites and layout, the pick-ups' sets and items and the zones' flags.
void LinkMapObjects(std::int32_t mapIndex, bool isSave);

// Links the item references of a player and of its party members. An index
// whose empty identifier no item has keeps its identifier empty.
void LinkPlayerItems(std::int32_t player);

}  // namespace kiv
