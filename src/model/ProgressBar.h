#pragma once
// What a reader reports its progress to: the percentage of the stream's bytes consumed when an object begins.

class ProgressBar {
public:
    virtual ~ProgressBar() = default;
    virtual void SetPosition(int percent) = 0;
};
