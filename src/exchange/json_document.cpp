// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/json_document.h"

#include <istream>
#include <vector>

#include "exchange/shown_value.h"

namespace orgalink::exchange {

namespace {

using nlohmann::json;

// Builds the document from the parser's events, iteratively: the parser
// keeps its own nesting on the heap, and so does this.
class DocumentBuilder : public nlohmann::json_sax<json> {
 public:
  DocumentBuilder(JsonInput& input, json& document, std::size_t max_values)
      : input_(input), document_(document), max_values_(max_values) {}

  const std::string& Problem() const { return problem_; }

  bool null() override { return Put(nullptr); }
  bool boolean(bool value) override { return Put(value); }
  // The parser has read one byte past a number to find its end.
  bool number_integer(number_integer_t value) override { return Put(value, 1); }
  bool number_unsigned(number_unsigned_t value) override { return Put(value, 1); }
  bool number_float(number_float_t value, const string_t&) override { return Put(value, 1); }
  bool binary(binary_t&) override { return Refuse("binary data is not JSON"); }

  bool string(string_t& value) override {
    Begin();
    if (values_ > max_values_) return RefuseCount();
    if (value.find('\0') != std::string::npos) {
      return Refuse("the text " + ShownText(value) +
                    " holds a zero character (\\u0000), which would end its field there");
    }
    Place(json(std::move(value)));
    return true;
  }

  bool key(string_t& value) override {
    Frame& frame = frames_.back();
    frame.step = frames_.size() == 1 ? ShownKey(value) : "." + ShownKey(value);
    if (value.find('\0') != std::string::npos) {
      return Refuse("a key holds a zero character (\\u0000)");
    }
    if (frame.node->contains(value)) return Refuse("the key occurs twice in its object");
    frame.key = std::move(value);
    return true;
  }

  bool start_object(std::size_t) override { return Open(json::object()); }
  bool start_array(std::size_t) override { return Open(json::array()); }
  bool end_object() override { return Close(); }
  bool end_array() override { return Close(); }

  bool parse_error(std::size_t position, const std::string& token,
                   const nlohmann::detail::exception& error) override {
    // 406: a number whose value is beyond a double's range.
    if (error.id == 406) {
      problem_ = input_.PlaceOf(position - std::min(position, token.size())) + ": the number " +
                 ShownText(token) + " is too large";
      return false;
    }
    // "[json.exception.parse_error.101] parse error at line 3, column 5: ...;
    // last read: '...'", whose token may be a whole string.
    std::string what = error.what();
    const std::size_t text = what.find("] ");
    if (text != std::string::npos) what.erase(0, text + 2);
    const std::string last_read = "; last read: '";
    const std::size_t read = what.find(last_read);
    if (read != std::string::npos) {
      what.erase(read);
      what += "; last read: " + ShownText(token);
    }
    problem_ = "malformed JSON: " + what;
    return false;
  }

 private:
  struct Frame {
    json* node;
    std::string key;   // of the member being read, in an object
    std::string step;  // the path from the container to its member being read
  };

  static std::string ShownKey(const std::string& key) {
    const bool plain = !key.empty() && key.size() <= ShownBytes &&
                       key.find_first_not_of("abcdefghijklmnopqrstuvwxyz_") == std::string::npos;
    return plain ? key : "[" + ShownText(key) + "]";
  }

  // A value starts: in a list, it takes the next index, which the path
  // then names.
  void Begin() {
    ++values_;
    if (frames_.empty()) return;
    Frame& frame = frames_.back();
    if (frame.node->is_array()) frame.step = "[" + std::to_string(frame.node->size()) + "]";
  }

  json* Place(json value) {
    if (frames_.empty()) {
      document_ = std::move(value);
      return &document_;
    }
    Frame& frame = frames_.back();
    if (frame.node->is_array()) {
      frame.node->push_back(std::move(value));
      return &frame.node->back();
    }
    return &((*frame.node)[frame.key] = std::move(value));
  }

  bool Put(json value, std::size_t read_past = 0) {
    Begin();
    if (values_ > max_values_) return RefuseCount(read_past);
    Place(std::move(value));
    return true;
  }

  bool Open(json container) {
    Begin();
    if (frames_.size() >= MaxJsonDepth) {
      return Refuse("nested deeper than " + std::to_string(MaxJsonDepth) + " levels");
    }
    if (values_ > max_values_) return RefuseCount();
    frames_.push_back(Frame{Place(std::move(container)), {}, {}});
    return true;
  }

  bool Close() {
    frames_.pop_back();
    return true;
  }

  std::string Path() const {
    std::string path;
    for (const Frame& frame : frames_) path += frame.step;
    return path;
  }

  // `read_past`: the bytes the parser has read beyond the token.
  bool Refuse(const std::string& what, std::size_t read_past = 0) {
    const std::string path = Path();
    // The place of the token's last byte, as the parser's own messages tell it.
    const std::string place =
        input_.PlaceOf(input_.Consumed() - std::min(read_past + 1, input_.Consumed()));
    problem_ = (path.empty() ? "" : path + " ") + "(" + place + "): " + what;
    return false;
  }

  bool RefuseCount(std::size_t read_past = 0) {
    return Refuse(
        "more than " + std::to_string(max_values_) + " values, far more than any export holds",
        read_past);
  }

  JsonInput& input_;
  json& document_;
  std::size_t max_values_;
  std::size_t values_ = 0;
  std::vector<Frame> frames_;
  std::string problem_;
};

// What ended the text early, when the parser read up to there.
std::string StopProblem(const JsonInput& input) {
  switch (input.Stopped()) {
    case JsonInput::Stop::ReadError:
      return "cannot read the file";
    case JsonInput::Stop::TooLarge:
      return TooLargeProblem(input.Limit());
    case JsonInput::Stop::LongString:
      return input.PlaceOf(input.StopOffset()) + ": a string longer than " +
             std::to_string(MaxJsonStringBytes >> 20) +
             " MiB, far more than any field of an export";
    case JsonInput::Stop::ZeroByte:
      return "malformed JSON: " + input.PlaceOf(input.StopOffset()) +
             ": a zero byte, which JSON text never holds";
    case JsonInput::Stop::None:
      break;
  }
  return "";
}

}  // namespace

bool ReadJsonDocument(JsonInput& input, nlohmann::json& document, std::string& problem,
                      std::size_t max_values) {
  DocumentBuilder builder(input, document, max_values);
  std::istream stream(&input);
  const bool parsed = json::sax_parse(stream, &builder);
  if (input.Stopped() != JsonInput::Stop::None && input.Consumed() >= input.StopOffset()) {
    problem = StopProblem(input);
    return false;
  }
  if (parsed) return true;
  problem = builder.Problem();
  return false;
}

}  // namespace orgalink::exchange
