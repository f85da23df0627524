// The program's name in each spelling its texts use; every text that names the program is built from
// these, so a rename is one edit. Plain literals (macros), so that texts stay compile-time constants
// and the resource script may include this too.
#pragma once

#define CHW_PRODUCT "Chimewell"
#define CHW_PRODUCT_SYSTEM CHW_PRODUCT " System"
#define CHW_PRODUCT_TM CHW_PRODUCT "(tm)"
#define CHW_PRODUCT_TM_SIGN CHW_PRODUCT "\u2122"
// A wide literal of the same, for window classes and registered names.
#define CHW_WIDE(text) L"" text
