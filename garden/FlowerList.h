#pragma once

#include "garden/Flower.h"
#include "garden/Traits.h"

#include <memory>
#include <vector>

// The finished flowers, sorted by the height of their stem's base, higher
// first, with a hovered and a selected slot. Owns its flowers.
class FlowerList {
public:
    // The process's one list; made before start-up and never destroyed.
    static FlowerList& instance();

    // Takes the flower (it has at least one stem segment) and re-sorts.
    void add(std::unique_ptr<Flower> flower);
    // The flower whose tip is nearest (x, y) within 3.5 x its pistil size, or
    // none; the earlier one wins a tie. Stored as hovered.
    Flower* hitTest(float x, float y);
    void setSelected(Flower* f) { selected_ = f; }
    Flower* selected() const { return selected_; }
    Flower* hovered() const { return hovered_; }
    void clear();
    void updateSway(float step);
    bool anyMatches(const Traits& t) const;
    const std::vector<std::unique_ptr<Flower>>& flowers() const { return flowers_; }
    int marker() const { return marker_; }

    // A sprite of the selector picture (draw/GardenDrawing.cpp).
    void loadMarkers();
    // Every flower, then the hovered (white) and selected (green) marker.
    void draw() const;

private:
    // Stable bubble sort, descending by Stem::baseY, with early exit.
    void sortByBase();

    std::vector<std::unique_ptr<Flower>> flowers_;  // sorted by base height, higher first
    int marker_ = -1;                                // sprite; -1 until loaded
    Flower* selected_ = nullptr;                     // not owning; first parent for breeding
    Flower* hovered_ = nullptr;                      // not owning; the last hit test's result
};
