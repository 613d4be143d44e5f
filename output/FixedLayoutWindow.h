#pragma once

#include "SheetLayout.h"

#include <QWidget>

class QuickRepPage;

// A hidden window holding one fixed sheet layout: the report object QuickRep1
// with its page, and the label cell DetailBand1 with the elements printed in
// it. Nothing prints through these windows; the 6 x 20 layout's page keeps
// the margins of the margins file.
class FixedLayoutWindow : public QWidget
{
    Q_OBJECT
public:
    FixedLayoutWindow(const SheetLayout &layout, QWidget *owner);

    const SheetLayout &layout() const { return m_layout; }
    QuickRepPage *QuickRep1() const { return m_page; }
    QWidget *DetailBand1() const { return m_detailBand; }

    // The data set the layout names is a component the main window does not
    // have: the reference stays empty, without any message.
    QObject *DataSet() const { return nullptr; }

private:
    void addElement(const LayoutElement &element);
    void addBarcode();

    SheetLayout m_layout;
    QuickRepPage *m_page;
    QWidget *m_detailBand;
};
