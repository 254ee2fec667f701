// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The panel's texts name the faces they were designed with ("Microsoft Sans
// Serif", "Arial", "Arial Black"). Those are missing on Linux; this maps each
// to an installed face with the same metrics, so text fits its box as designed.
namespace FontFaces {
void mapWindowsFaces();
}
