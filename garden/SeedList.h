#pragma once

#include "garden/Seed.h"

#include <memory>
#include <vector>

// The seeds of the garden, in order of addition, with a hovered and a selected
// slot. Owns its seeds; the slots never outlive what they point at.
class SeedList {
public:
    // The process's one list; made before start-up and never destroyed, so no
    // sprite is released after the window has gone.
    static SeedList& instance();

    void add(std::unique_ptr<Seed> seed);
    // The last seed within distance 2 of (x, y), or none; stored as hovered.
    Seed* hitTest(float x, float y);
    void setSelected(Seed* s) { selected_ = s; }
    Seed* selected() const { return selected_; }
    Seed* hovered() const { return hovered_; }
    // Destroys that seed if it is in the list, emptying any slot that held it.
    void remove(Seed* seed);
    // Destroys every seed and empties both slots; the markers stay.
    void clear();
    const std::vector<std::unique_ptr<Seed>>& seeds() const { return seeds_; }
    int selectedMarker() const { return selectedMarker_; }
    int hoverMarker() const { return hoverMarker_; }

    // Two sprites of the selector picture (draw/GardenDrawing.cpp).
    void loadMarkers();
    // Every seed, then the selected and the hovered marker (draw/GardenDrawing.cpp).
    void draw() const;

private:
    std::vector<std::unique_ptr<Seed>> seeds_;  // in order of addition
    int selectedMarker_ = -1;                   // sprite; -1 until loaded
    Seed* selected_ = nullptr;                  // not owning; the carried seed while carrying
    Seed* hovered_ = nullptr;                   // not owning; the last hit test's result
    int hoverMarker_ = -1;                      // sprite; -1 until loaded
};

// Lays the three starting seeds of a new game, in the table's order.
void addStartingSeeds();
