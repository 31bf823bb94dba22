/* Resource and control ids of the quenvarel editor, shared by the resource
   script (quenvarel.rc) and the code. Plain defines: the resource compiler
   reads this file too. */
#pragma once

#define IDB_QUENVAREL_BACKGROUND 101 /* 483 x 218, 24-bit, drawn by the build */
#define IDD_QUENVAREL_EDITOR 102     /* the editor dialog */

#define IDC_WEBSITE 1005   /* push button: the maker's web site */
#define IDC_RESONANCE 1012 /* slider: Resonance (parameter 1) */
#define IDC_CUTOFF 1013    /* slider: Cutoff (parameter 2) */
#define IDC_DEPTH12 1014   /* radio: one stage */
#define IDC_DEPTH24 1015   /* radio: two stages */
#define IDC_DEPTH48 1016   /* radio: three stages */
#define IDC_PREGAIN 1017   /* slider: PreGain (parameter 0) */
#define IDC_POSTGAIN 1018  /* slider: PostGain (parameter 4) */

/* The maker's web site, opened by IDC_WEBSITE. */
#define QUENVAREL_WEBSITE "https://www.orvalend.example/"
/* How the caption names it. */
#define QUENVAREL_WEBSITE_NAME "www.orvalend.example"
