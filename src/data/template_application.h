#pragma once
// Applying actor templates to actors. A template holds a base and a derived
// actor record; the derived record's template reference names the parent
// template. Applying rebuilds the actor from the template (keeping what belongs
// to the placed actor) or merges the template's additions into it, and links
// every reference the actor holds.
#include <cstdint>

#include "data/actor_record.h"

namespace kiv {

// keep (saves, relinks) never rebuilds or merges; merge makes a merge where the
// template would rebuild.
void ApplyActorTemplate(Actor& actor, bool keep, bool merge);

// An actor whose map reference names a loaded map (index in its kind) takes
// copies of that map's fields, spawns and ambient colour, with no field
// selected; a reference to no map leaves the copies as they are.
void CopyCarriedInterface(Actor& actor);

// Adds a template record to an actor: references "as the template" (-3) take
// the record's, statistics and counters are added, items, triggers and
// variables appended. register >= 0 registers the appended triggers' scripts.
void MergeTemplateRecord(Actor& actor, const Actor& record, std::int32_t registerTemplate);

// The template whose record is merged for template t: up the parents while a
// template defers. A loop of deferring templates stops where it closes.
std::int32_t TemplateApplyRoot(std::int32_t t);

// The parent of template t (its derived record's template index), -1 none.
std::int32_t TemplateParent(std::int32_t t);

// Whether template t is the ancestor or reaches it through its parents. A
// parent outside the table ends the chain; a loop of parents ends where it closes.
bool IsSameOrDescendant(std::int32_t t, std::int32_t ancestor);

// Makes an actor a copy of template t (its derived record when full, else its
// base record) with the parents' records merged in.
void InitCharacterFromTemplate(Actor& actor, std::int32_t t, bool full);

// Relinks both records of template t (keep and merge set).
void RelinkActorTemplate(std::int32_t t);

}  // namespace kiv
