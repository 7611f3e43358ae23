#pragma once

#include <QVariantList>

class ProfileStore;

// The current profile's device settings as numbers the mouse takes. The page's
// getters and the command line's sender both read through here, so they send
// the same bytes for any stored value. An element that is not a whole number in
// its range reads as the factory profile's (pD.bin) and, failing that, as a
// fixed fallback.
namespace ProfileValues {

QVariantList keyRow(const ProfileStore &store, int button);   // four values 0..255
QVariantList dpiStages(const ProfileStore &store, uint did);  // eight values in the model's span
QVariantList dpiFlags(const ProfileStore &store);             // eight flags 0 or 1
QVariantList colourTable(const ProfileStore &store, int type); // 24 values 0..255
// Effect 0..13, colour index 0..7, level 0..4, R, G, B 0..255.
QVariantList ledEffect(const ProfileStore &store);
int reportRate(const ProfileStore &store);                    // 1, 2, 4 or 8; above 8 reads as 8
int liftOff(const ProfileStore &store);                       // 2 or 3

// Whether a lighting record the page stores holds six values in the ranges above.
bool validLedEffect(const QVariantList &record);

} // namespace ProfileValues
