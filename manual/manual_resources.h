#pragma once
// The manual's pages and pictures compiled into the program below ":/handbuch/".

namespace rs::manual {

// Registers the resource; the help window calls it before it reads a page. Idempotent.
void InitResources();

}  // namespace rs::manual
