#pragma once
// The help texts of saving, autosaving and recovery, each index in one place.

#include <cstdint>

namespace SavingText {
inline constexpr int32_t kDiscFull = 289;           // "The disc is full, so this file could not be written:"
inline constexpr int32_t kFolderNotWritable = 290;  // "This folder cannot be written, so this file could not ..."
inline constexpr int32_t kNotWritten = 291;         // "This file could not be written:"
inline constexpr int32_t kChangesKept = 292;        // "Your changes are still here, and nothing saved before ..."
inline constexpr int32_t kRecoveryOffer = 293;      // "Vellora found unsaved changes to %1 from %2. Restore them?"
inline constexpr int32_t kRecoveryDamaged = 294;    // "... can no longer be read. They were not deleted but ..."
inline constexpr int32_t kStatusNoRecoveryCopy = 295; // "Not saved, and no recovery copy could be written."
} // namespace SavingText
