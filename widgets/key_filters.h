#pragma once
// Filters for characters typed into numeric fields. They look at typed characters only:
// pasted text and text set by the program pass, so every consumer validates when it parses.

#include <QObject>

class QLineEdit;

enum class KeyFilterKind {
    Decimal,      // digits and one "."
    Digit,        // digits
    SignedDigit,  // digits and "-"
};

// Whether a typed character may enter a field that currently holds `fieldText`.
bool KeyFilterAccepts(KeyFilterKind kind, QChar typed, const QString &fieldText);

class KeyFilter final : public QObject {
    Q_OBJECT
public:
    KeyFilter(KeyFilterKind kind, QLineEdit *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyFilterKind m_kind;
};

void InstallDecimalKeyFilter(QLineEdit *field);
void InstallDigitKeyFilter(QLineEdit *field);
void InstallSignedDigitKeyFilter(QLineEdit *field);
