#pragma once

#include "lists/ui/ItemListScreen.h"

/// The alternatives of the open problem: the courses of action to choose from.
class TFormListAlt final : public ItemListScreen
{
    Q_OBJECT

public:
    static constexpr int MinCount = 2;
    static constexpr int MaxCount = 9;
    /// Above this many alternatives only the step-by-step comparison is offered.
    static constexpr int MaxCompactCount = 5;

    explicit TFormListAlt(QWidget* parent = nullptr);

protected:
    void NextExecute() override;
};
