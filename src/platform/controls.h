// The controls the calculator is built from, in plain C++: a top-level frame,
// a plain panel, text fields, a check box, push buttons and labels, with the
// colours, fonts and listeners they take. Each toolkit the program runs on
// has a peer folder below this one that defines these classes on its own
// native controls; CMake compiles exactly one of them.
//
// Conventions every peer keeps:
// - Sizes and places are in pixels. A child of a Frame is placed in the
//   frame's outer coordinates, title bar and border included, and the
//   frame's size is its outer size; the peer subtracts whatever decoration
//   its toolkit draws. A child of a Panel is placed from the panel's corner.
// - A component without a background or font of its own shows its
//   container's.
// - The add order is the focus order; labels and panels take no focus.
// - Texts are UTF-8.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct Color {
    int red, green, blue;
    friend bool operator==(const Color &, const Color &) = default;

    static const Color white;
    static const Color lightGray;
};
inline constexpr Color Color::white{255, 255, 255};
inline constexpr Color Color::lightGray{192, 192, 192};

struct Font {
    // Styles as numbers: bold and italic add up.
    enum Style { Plain = 0, Bold = 1, Italic = 2, BoldItalic = Bold | Italic };

    // "Dialog" is the face for dialog text, which every peer maps to a face
    // with the metrics the form was laid out in.
    std::string family;
    int style;
    int size; // pixels
    friend bool operator==(const Font &, const Font &) = default;
};

// The toolkit's own control behind a component; each peer defines it.
struct Native;
// Shapes to draw, and an image to hand out, in platform/picture.h.
struct Picture;
struct Image;

class Component {
public:
    Component(const Component &) = delete;
    Component &operator=(const Component &) = delete;
    virtual ~Component();

    void setBackground(Color color);
    void setFont(const Font &font);
    void setBounds(int x, int y, int width, int height);
    // Asks that keyboard input go to this component.
    void requestFocus();
    // What screen readers call this component.
    void setAccessibleName(std::string_view name);
    // What screen readers read after the name: more about the component, in
    // lines of plain text. Empty: nothing more.
    void setAccessibleDescription(std::string_view description);
    // Lines of plain text shown when the pointer rests on the component (on
    // a touch screen, when it is tapped), in a tooltip with the system's
    // colours and font; where a picture is given, it stands above the lines,
    // drawn at the screen's scale. Empty text: no tooltip.
    void setToolTip(std::string_view text, const Picture *picture = nullptr);
    // What "Copy" puts on the clipboard, as plain text: in the component's
    // context menu, and on a page in its tooltip's box. Empty: no "Copy".
    // On a page, "Share" shares it with the image.
    void setCopyText(std::string_view text);
    // The image that "Copy Picture" and "Save Picture..." hand out, in the
    // same menu or box, and on a page "Share" where the browser can share
    // files. Empty: none of these.
    void setImage(Image image);
    // What "Which Levels See…" does, last in the same menu (on a page, a
    // button "Which levels see" in the box): it opens the window of a table.
    // Empty: no such item.
    void setLevelsAction(std::function<void()> action);

    Native &native() const { return *native_; }

protected:
    explicit Component(std::unique_ptr<Native> native);

private:
    std::unique_ptr<Native> native_;
};

class Container : public Component {
public:
    // Makes child a child of this container. The caller keeps owning the
    // child, which must live as long as the container shows it.
    void add(Component &child);

protected:
    using Component::Component;
};

class Frame;
class Button;

struct WindowEvent {
    Frame *window;
};

class WindowListener {
public:
    virtual ~WindowListener() = default;
    virtual void windowOpened(const WindowEvent &e) = 0;
    virtual void windowClosing(const WindowEvent &e) = 0;
    virtual void windowClosed(const WindowEvent &e) = 0;
    virtual void windowIconified(const WindowEvent &e) = 0;
    virtual void windowDeiconified(const WindowEvent &e) = 0;
    virtual void windowActivated(const WindowEvent &e) = 0;
    virtual void windowDeactivated(const WindowEvent &e) = 0;
};

// Empty handlers, so that a listener overrides only what it cares about.
class WindowAdapter : public WindowListener {
public:
    void windowOpened(const WindowEvent &) override {}
    void windowClosing(const WindowEvent &) override {}
    void windowClosed(const WindowEvent &) override {}
    void windowIconified(const WindowEvent &) override {}
    void windowDeiconified(const WindowEvent &) override {}
    void windowActivated(const WindowEvent &) override {}
    void windowDeactivated(const WindowEvent &) override {}
};

struct ActionEvent {
    Component *source; // the very component that was pressed
};

class ActionListener {
public:
    virtual ~ActionListener() = default;
    virtual void actionPerformed(const ActionEvent &e) = 0;
};

// A top-level window, hidden until shown, with no layout of its own: its
// children keep exactly the bounds they are given.
class Frame : public Container {
public:
    Frame();
    ~Frame() override;

    void setTitle(std::string_view title);
    // Outer size, and the outer top-left corner on the screen.
    void setSize(int width, int height);
    void setLocation(int x, int y);
    virtual void setVisible(bool visible);

    // The frame owns its listeners. windowClosing is called when the user
    // asks to close the window, which stays open unless a listener acts.
    void addWindowListener(std::unique_ptr<WindowListener> listener);
    // Enter in any of the frame's text fields presses this button.
    void setDefaultButton(Button &button);
    // The system's Copy key (Ctrl+C and Ctrl+Insert; Command-C in a browser
    // on a Mac), pressed anywhere in the frame while no text is selected,
    // copies what this component's "Copy" copies: nothing, the clipboard
    // untouched, while it has nothing to copy. With text selected the key
    // copies that text, as it always does. On the desktop the frame's other
    // keys do what the rest of the component's menu does, and are shown
    // beside its items there: Ctrl+Shift+C "Copy Picture", Ctrl+S "Save
    // Picture…", Ctrl+L "Which Levels See…"; each nothing while the
    // component has no such item. A page opens the component's box from the
    // keyboard instead, as the page's own help says.
    void setDefaultCopy(Component &component);
};

// A plain container.
class Panel : public Container {
public:
    Panel();
};

// A single line of input that keeps its text exactly as typed.
class TextField : public Component {
public:
    TextField();
    std::string text() const;
    void setText(std::string_view text);
};

class Checkbox : public Component {
public:
    Checkbox();
    void setLabel(std::string_view label);
    bool state() const;
    void setState(bool ticked);
};

class Button : public Component {
public:
    Button();
    void setLabel(std::string_view label);

    // Each press calls every listener once, in the order added, with this
    // button as the event's source. One listener may serve several buttons;
    // each keeps it alive.
    void addActionListener(std::shared_ptr<ActionListener> listener);
    const std::vector<std::shared_ptr<ActionListener>> &actionListeners() const {
        return listeners_;
    }
    // Presses the button as a click would.
    void press();

private:
    std::vector<std::shared_ptr<ActionListener>> listeners_;
};

class Label : public Component {
public:
    enum Alignment { Left = 0, Center = 1, Right = 2 };

    Label();
    void setText(std::string_view text);
    void setAlignment(Alignment alignment);
    // Screen readers read out each new text of this label as it is set.
    void setLive();
};

// A table of cells in rows and columns, each row and each column under a
// header.
struct Table {
    struct Cell {
        std::string text;   // as shown on the desktop and read out: "OK 1"
        std::string brief;  // shorter, for a narrow screen: "✓1"
        std::string spoken; // what a screen reader reads for the cell
        Color color;
        bool marked = false; // the one cell to find: framed, and bold
    };
    // What the headers are, shown over the rows' headers and read with
    // them: "Firer", "Target".
    std::string rowsName, columnsName;
    std::vector<std::string> rows, columns; // headers: top to bottom, left to right
    std::vector<Cell> cells;                // row by row
};

// A window of its own for a table: beside the frame it belongs to, never
// over it, and not modal. Top to bottom: a heading, the table, lines of text
// under it, and the buttons "Copy", "Copy Picture", "Save Picture…" and
// "Close" (on a page, "Copy", "Copy picture", "Save picture" and "Share" with
// a close button); the Copy key anywhere in the window copies what "Copy"
// does, and Escape closes it. What the buttons hand out is the window's copy
// text and image (setCopyText, setImage); on a page "Share" shares them, the
// copy text's last line as the link where it is one. On a page the window is
// a dialog of the browser's own.
class TableWindow : public Component {
public:
    // Made hidden; nothing shows until show().
    explicit TableWindow(Frame &owner);
    ~TableWindow() override;

    void setTitle(std::string_view title);
    // What the window shows. A table with no rows shows the lines alone, in
    // its place.
    void setContent(std::string_view heading, const Table &table, std::string_view lines);
    // Opens the window beside its frame, or brings it to the front with the
    // keyboard in its table where it is open already.
    void show();
    // Closes it, as "Close" and Escape do; show() opens it again.
    void hide();
    bool showing() const;
};

} // namespace platform
