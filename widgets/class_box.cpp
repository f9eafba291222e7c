#include "widgets/class_box.h"

#include "numbers/instrument_class.h"

QComboBox *NewClassBox(QWidget *parent) {
    auto *box = new QComboBox(parent);
    using numbers::InstrumentClass;
    for (const InstrumentClass instrument :
         {InstrumentClass::Share, InstrumentClass::Fund, InstrumentClass::Bond}) {
        box->addItem(numbers::ClassName(instrument));
    }
    box->setCurrentIndex(0);
    return box;
}
