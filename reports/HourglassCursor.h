#ifndef ZENDRIK_REPORTS_HOURGLASSCURSOR_H
#define ZENDRIK_REPORTS_HOURGLASSCURSOR_H

// The busy cursor for the length of a scope, taken back on every way out of it.
class HourglassCursor {
public:
    HourglassCursor();
    ~HourglassCursor();
    HourglassCursor(const HourglassCursor&) = delete;
    HourglassCursor& operator=(const HourglassCursor&) = delete;

private:
    bool set_ = false;
};

#endif
