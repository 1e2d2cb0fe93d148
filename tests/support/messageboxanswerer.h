// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <map>
#include <vector>

// Answers every message box that opens while it lives, from the event loop, and records what
// each one asked, so widget tests drive the real boxes with their texts, icons and buttons.
class MessageBoxAnswerer : public QObject
{
public:
    struct Seen
    {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
        Qt::WindowModality modality;
        // The caption of each standard button, where a box renames them.
        std::map<QMessageBox::StandardButton, QString> captions;
    };

    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer) : m_answers{answer}
    {
        connect(&m_timer, &QTimer::timeout, this, &MessageBoxAnswerer::Poll);
        m_timer.start(10);
    }
    // Answers in this order; the last answer repeats.
    explicit MessageBoxAnswerer(std::vector<QMessageBox::StandardButton> answers)
        : m_answers(std::move(answers))
    {
        connect(&m_timer, &QTimer::timeout, this, &MessageBoxAnswerer::Poll);
        m_timer.start(10);
    }

    const std::vector<Seen>& SeenBoxes() const { return m_seen; }

private:
    void Poll()
    {
        const auto widgets = QApplication::topLevelWidgets();
        for (QWidget* w : widgets) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible() || box->property("answered").toBool())
                continue;
            box->setProperty("answered", true);
            QAbstractButton* def = box->defaultButton();
            Seen seen{box->windowTitle(),
                      box->text(),
                      box->icon(),
                      box->standardButtons(),
                      def ? box->standardButton(def) : QMessageBox::NoButton,
                      box->windowModality(),
                      {}};
            const auto buttons = box->buttons();
            for (QAbstractButton* b : buttons)
                seen.captions[box->standardButton(b)] = b->text();
            m_seen.push_back(std::move(seen));
            const auto answer = m_answers[std::min(m_seen.size() - 1, m_answers.size() - 1)];
            if (QAbstractButton* b = box->button(answer))
                b->click();
            else
                box->done(answer);
        }
    }

    std::vector<QMessageBox::StandardButton> m_answers;
    std::vector<Seen> m_seen;
    QTimer m_timer;
};
