// Duskify: gives the frame a dusk look. The demo draws the screen's top-left quarter through
// this shader into a half-width strip, which it then blows up to the whole window unfiltered.
uniform sampler2D picture;  // texture unit 0, where sprites are bound

void main() {
    vec4 texel = texture2D(picture, gl_TexCoord[0].st);
    vec3 colour = texel.rgb;
    float light = dot(colour, vec3(0.299, 0.587, 0.114));

    // Tone curve: an S around the mid-tones deepens shadows and softens highlights.
    vec3 curved = colour * colour * (3.0 - 2.0 * colour);

    // Dusk tint: warm orange in the lights, violet in the shadows.
    vec3 shadows = vec3(0.55, 0.25, 0.70);
    vec3 lights = vec3(1.00, 0.55, 0.28);
    vec3 tint = mix(shadows, lights, smoothstep(0.15, 0.85, light));
    vec3 dusk = curved * tint * 1.4;

    gl_FragColor = vec4(clamp(dusk, 0.0, 1.0), texel.a) * gl_Color;
}
