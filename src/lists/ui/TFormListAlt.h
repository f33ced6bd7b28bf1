#pragma once

#include "lists/ui/ItemListScreen.h"

/// The alternatives of the open problem: the courses of action to choose from.
class TFormListAlt final : public ItemListScreen
{
    Q_OBJECT

public:
    explicit TFormListAlt(QWidget* parent = nullptr);

protected:
    void NextExecute() override;
};
