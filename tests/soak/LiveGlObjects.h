#pragma once

// The textures and display lists alive in the current context. Names are
// never handed out twice, so every name given so far is asked in turn.
struct LiveGlObjects {
    int textures = 0;
    int lists = 0;

    static LiveGlObjects count();
    bool operator==(const LiveGlObjects& other) const {
        return textures == other.textures && lists == other.lists;
    }
};
