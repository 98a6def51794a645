/*
 * cookies.js: reading and writing the cookies that the generated popup
 * code uses to show a popup only once, or again only after some days.
 *
 *   getcookie(name)              the stored value, or "" when there is none
 *   setcookie(name, value, days) stores the value for that many days
 *
 * Names and values are percent-encoded, so any text (";", "=", blanks,
 * letters outside ASCII) round-trips. Cookies are set for the whole site
 * (path "/") with SameSite=Lax.
 */

function getcookie(name)
{
  var wanted = encodeURIComponent(String(name));
  var pairs = document.cookie ? document.cookie.split(";") : [];
  for (var i = 0; i < pairs.length; i++) {
    var pair = pairs[i].replace(/^\s+/, "");
    var eq = pair.indexOf("=");
    var key = eq < 0 ? pair : pair.substring(0, eq);
    if (key != wanted)
      continue;
    var raw = eq < 0 ? "" : pair.substring(eq + 1);
    try {
      return decodeURIComponent(raw);
    } catch (e) {
      // Written by something else without our encoding: hand it out as it is.
      return raw;
    }
  }
  return "";
}

function setcookie(name, value, days)
{
  var text = encodeURIComponent(String(name)) + "=" +
             encodeURIComponent(value == null ? "" : String(value));
  var n = Number(days);
  if (n > 0) {
    var expires = new Date();
    expires.setTime(expires.getTime() + n * 24 * 60 * 60 * 1000);
    text += "; expires=" + expires.toUTCString();
  }
  text += "; path=/; SameSite=Lax";
  document.cookie = text;
}
