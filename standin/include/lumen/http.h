#ifndef LUMEN_HTTP_H_
#define LUMEN_HTTP_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lumen {

struct HttpHeader {
  std::string name;
  std::string value;
};

// Method codes of HttpRequest::method.
enum HttpMethod : int32_t { kHttpGet = 0, kHttpPost = 1, kHttpPut = 2, kHttpDelete = 3, kHttpHead = 4 };
// What the engine asks for, in HttpRequest::type.
enum HttpRequestType : int32_t { kHttpTypeGeneric = 0, kHttpTypeScheduler = 1, kHttpTypeReport = 2 };

// A request the engine wants executed by the host application. Copyable.
class HttpRequest {
 public:
  std::string url;
  int32_t method = kHttpGet;
  int32_t type = kHttpTypeGeneric;
  std::vector<HttpHeader> headers;  // in the order the engine set them

  void SetBody(const uint8_t* data, size_t size) { body_.assign(data, data + size); }
  // Null when there is no body.
  const uint8_t* body() const { return body_.empty() ? nullptr : body_.data(); }
  size_t body_size() const { return body_.size(); }

 private:
  std::vector<uint8_t> body_;
};

class HttpResponse {
 public:
  int32_t status_code = 0;
  std::vector<HttpHeader> headers;

  void SetBody(const uint8_t* data, size_t size) {
    if (data) body_.assign(data, data + size);
    else body_.clear();
  }
  const std::vector<uint8_t>& body() const { return body_; }

 private:
  std::vector<uint8_t> body_;
};

// Completes one request; shared between the engine and the host until then.
class HttpCallback {
 public:
  virtual ~HttpCallback() = default;
  virtual void OnSuccess(const HttpResponse& response) = 0;
  virtual void OnFailure(const std::string& message, const HttpResponse& response) = 0;
};

}  // namespace lumen

#endif  // LUMEN_HTTP_H_
