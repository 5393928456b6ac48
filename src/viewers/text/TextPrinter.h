// Printing a text view's selected lines: whole lines as text (no clipping), in Courier
// New 10 points, with "Page : N" in the top right corner when page numbers are on.
#pragma once

class QPrinter;
class TTextView;

class TextPrinter {
public:
    // Beeps and prints nothing when nothing is selected. The printer is set up by the
    // caller (a print dialog, or a PDF file).
    static bool Print(const TTextView& view, QPrinter& printer);
};
