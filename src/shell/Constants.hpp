#pragma once
// Constant data shared across the program: built once, never changed.
// Each subsystem keeps its constants in its own section below.

namespace zil::Constants {

// --- Core services and shell ---

// --- Records and transforms ---

// --- Subdivision mesh ---

// --- Renderer ---

// --- UI ---

}  // namespace zil::Constants
