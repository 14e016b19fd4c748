#pragma once
// What assistive technology meets on the window: its controls in the order they appear on the
// screen (top to bottom, then left to right), without the copies that only decorate another
// control, and the title strip's close picture as a button.
#include <QString>
#include <QWidget>
#include <vector>

namespace app {

// The poster's name for assistive technology: the film it shows, when the title is known.
QString PosterAccessibleName(const QString& title);

// Leaves `widget` out of what the window shows to assistive technology.
void HideFromAssistiveTechnology(QWidget* widget);

// The window's child controls in screen order: by top edge, then left edge, creation order between
// equals; hidden controls keep the place their position gives them, so that showing one never
// renumbers the others.
std::vector<QWidget*> AccessibleChildren(const QWidget& window);

// Makes the toolkit describe the launcher window and the close picture as above. Call once the
// application exists; later calls change nothing.
void InstallWindowAccessibility();

}  // namespace app
