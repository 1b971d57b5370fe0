#pragma once
// What the network detector needs from the catalogue: the name of a device
// type by its catalogue number.
#include <QString>
#include <optional>

class TDM;

class DetectCatalogue {
public:
    virtual ~DetectCatalogue() = default;
    virtual std::optional<QString> deviceName(int catNum) const = 0;
};

// The catalogue data module's device query, located by cat_num.
class TDMDetectCatalogue : public DetectCatalogue {
public:
    explicit TDMDetectCatalogue(const TDM &dm) : dm_(dm) {}
    std::optional<QString> deviceName(int catNum) const override;

private:
    const TDM &dm_;
};
