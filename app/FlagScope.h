#ifndef ZENDRIK_APP_FLAGSCOPE_H
#define ZENDRIK_APP_FLAGSCOPE_H

// Sets a flag for the length of a scope, also when the scope is left by an exception.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

#endif
