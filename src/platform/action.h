// Push buttons that report each press to their action listeners, with the
// very button that was pressed as the event's source.
#pragma once

#include <QPushButton>

#include <memory>
#include <vector>

namespace platform {

struct ActionEvent {
    QObject *source;
};

class ActionListener {
public:
    virtual ~ActionListener() = default;
    virtual void actionPerformed(const ActionEvent &e) = 0;
};

class Button : public QPushButton {
public:
    Button();

    // One listener object may serve several buttons; each keeps it alive.
    void addActionListener(std::shared_ptr<ActionListener> listener);
    const std::vector<std::shared_ptr<ActionListener>> &actionListeners() const {
        return listeners_;
    }

private:
    void fire();

    std::vector<std::shared_ptr<ActionListener>> listeners_;
};

} // namespace platform
