// The demo's pictures: one recipe each, with the file it is written to (relative to the data folder),
// its size in pixels (powers of two, at most 1024 a side), the shape it is seen at, and whether the
// demo makes its alpha from its blue channel (those are bright on black).
#pragma once

#include <vector>

#include "content/picture.h"

struct PictureJob {
    const char* path;
    int width, height;
    float aspect;  // displayed width / height
    bool alpha_from_blue;
    void (*paint)(Picture&);
};

const std::vector<PictureJob>& picture_jobs();

// Recipes, by the group of files they are in.
void paint_title(Picture&);          // vireline.jpg
void paint_kald(Picture&);           // kald.jpg: mountains under a huge sun
void paint_orv(Picture&);            // orv.jpg: warped ink
void paint_kuulat(Picture&);         // kuulat.jpg: drifting spheres of light
void paint_tovel(Picture&);          // tovel.jpg: a burst of rays behind the echo shells
void paint_metal(Picture&);          // metal.jpg
void paint_stars(Picture&);          // tahteet.jpg (tiles)
void paint_pool(Picture&);           // allas.jpg: a sky as a sphere map
void paint_mirte(Picture&);          // mirte.jpg
void paint_blob_base(Picture&);      // tasma1.jpg
void paint_blob_shine(Picture&);     // tasma2.jpg
void paint_sky(Picture&);            // taivas.jpg: the sky domes
void paint_nebula(Picture&);         // sumu.jpg: the backdrop's nebula
void paint_sand(Picture&);           // maa.jpg
void paint_marble(Picture&);         // kivi.jpg
void paint_strata(Picture&);         // kallio.jpg
void paint_tiles(Picture&);          // laatta.jpg
void paint_credits(Picture&, int index);  // creds0..6.jpg
void paint_logo(Picture&);           // kestra2.jpg
void paint_greetings(Picture&);      // greets.jpg
