#pragma once

// The GL objects alive right now in the current context. Names are never
// handed out twice, so the highest name says nothing: every name handed out so
// far is asked with glIsTexture / glIsList.
struct GlCensus {
    int textures = 0;  // live texture objects
    int lists = 0;     // live display lists

    static GlCensus take();
};
