#pragma once

// What a run is doing, in the order a run goes through it. Compressing
// comes only for WOFF2 output, Rasterizing only for LVGL fonts.
enum class SubsetStage { Subsetting, Checking, Compressing, Rasterizing };
